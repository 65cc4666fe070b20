#include "scan/header/header_model.h"

#include <new>
#include <string>
#include <vector>

namespace tarvik {

int32_t storeHeaderText(ScanContext& ctx, HeaderSlot slot, std::string_view text) {
  HeaderInfo& h = ctx.hdr;
  try {
    switch (slot) {
      case HeaderSlot::None: break;
      case HeaderSlot::PiName: h.piName.assign(text); break;
      case HeaderSlot::PiOrganization: h.piOrganization.assign(text); break;
      case HeaderSlot::Instrumentation: h.instrumentation.assign(text); break;
      case HeaderSlot::MissionName: h.missionName.assign(text); break;
      case HeaderSlot::IndependentVar: h.independentVarDef.assign(text); break;
      case HeaderSlot::BoundedVar: h.boundedVarDef.assign(text); break;
      case HeaderSlot::VarDef: h.varDefs.emplace_back(text); break;
      case HeaderSlot::AuxVarDef: h.auxVarDefs.emplace_back(text); break;
      case HeaderSlot::SpecialComment: h.specialComments.emplace_back(text); break;
      case HeaderSlot::NormalComment: h.normalComments.emplace_back(text); break;
    }
  } catch (const std::bad_alloc&) {
    return 11;
  }
  return 0;
}

int32_t allocateScaleArrays(ScanContext& ctx, int32_t count, VarKind kind) {
  HeaderInfo& h = ctx.hdr;
  size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  try {
    if (kind == VarKind::Primary) {
      h.scaleFactors.assign(n, 0.0);
      h.ulodValues.assign(n, 0.0);
      h.llodValues.assign(n, 0.0);
    } else {
      h.auxScaleFactors.assign(n, 0.0);
      h.auxUlodValues.assign(n, 0.0);
      h.auxLlodValues.assign(n, 0.0);
    }
  } catch (const std::bad_alloc&) {
    return 11;
  }
  return 0;
}

int32_t allocateFlagArrays(ScanContext& ctx, int32_t count, VarKind kind) {
  HeaderInfo& h = ctx.hdr;
  size_t n = count > 0 ? static_cast<size_t>(count) : 0;
  try {
    bool primary = kind == VarKind::Primary;
    (primary ? h.missingFlags : h.auxMissingFlags).assign(n, kInitialMissingFlag);
    (primary ? h.llodFlags : h.auxLlodFlags).assign(n, kInitialLlodFlag);
    (primary ? h.ulodFlags : h.auxUlodFlags).assign(n, kInitialUlodFlag);
    (primary ? h.llodValues : h.auxLlodValues).assign(n, kInitialLodValue);
    (primary ? h.ulodValues : h.auxUlodValues).assign(n, kInitialLodValue);
  } catch (const std::bad_alloc&) {
    return 11;
  }
  return 0;
}

void releaseHeader(ScanContext& ctx) {
  ctx.hdr = HeaderInfo();
  std::string().swap(ctx.run.lineBuffer);
  std::string().swap(ctx.run.echoBuffer);
}

}  // namespace tarvik
