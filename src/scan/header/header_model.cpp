#include "scan/header/header_model.h"

#include <new>
#include <string>

namespace tarvik {

int32_t storeHeaderText(ScanContext& ctx, HeaderSlot slot, std::string_view text, DefinitionPlace place) {
  HeaderInfo& h = ctx.hdr;
  try {
    switch (slot) {
      case HeaderSlot::None: break;
      case HeaderSlot::PiName: h.piName.assign(text); break;
      case HeaderSlot::PiOrganization: h.piOrganization.assign(text); break;
      case HeaderSlot::Instrumentation: h.instrumentation.assign(text); break;
      case HeaderSlot::MissionName: h.missionName.assign(text); break;
      case HeaderSlot::Definition:
        h.vars.ensure(place.kind, place.index + 1);
        h.vars.at(place.kind, place.index)->define(text);
        break;
      case HeaderSlot::SpecialComment: h.specialComments.emplace_back(text); break;
      case HeaderSlot::NormalComment: h.normalComments.emplace_back(text); break;
    }
  } catch (const std::bad_alloc&) {
    return 11;
  }
  return 0;
}

int32_t allocateScaleArrays(ScanContext& ctx, int32_t count, VarKind kind) {
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  try {
    ctx.hdr.vars.ensure(kind, n);
  } catch (const std::bad_alloc&) {
    return 11;
  }
  for (Variable& v : ctx.hdr.vars.of(kind).first(n)) v.scaleFactor = 0.0;
  return 0;
}

int32_t allocateFlagArrays(ScanContext& ctx, int32_t count, VarKind kind) {
  const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  try {
    ctx.hdr.vars.ensure(kind, n);
  } catch (const std::bad_alloc&) {
    return 11;
  }
  for (Variable& v : ctx.hdr.vars.of(kind).first(n)) {
    v.missingFlag = kInitialMissingFlag;
    v.llodFlag = kInitialLlodFlag;
    v.ulodFlag = kInitialUlodFlag;
    v.llodValue = kInitialLodValue;
    v.ulodValue = kInitialLodValue;
  }
  return 0;
}

void releaseHeader(ScanContext& ctx) {
  ctx.hdr = HeaderInfo();
  std::string().swap(ctx.run.lineBuffer);
  std::string().swap(ctx.run.echoBuffer);
}

}  // namespace tarvik
