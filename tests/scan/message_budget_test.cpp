// The cap on the messages of one check: messages while the cap allows, one notice in the form
// asked for, and a fresh start after a reset.
#include "scan/core/message_budget.h"

#include <gtest/gtest.h>

#include <string>

#include "scan/core/report.h"

namespace tarvik::test {
namespace {

TEST(MessageBudget, NoticeOnceWhenTheLastPlaceIsTaken) {
  struct Case {
    MessageBudget::Notice form;
    std::string written;
  } cases[] = {
      {MessageBudget::Notice::Warning, "<font color='#FF9933'>Too many ...<br>\n</font>"},
      {MessageBudget::Notice::Error, "<font color='#FF0000'>Too many ...<br>\n</font>"},
      {MessageBudget::Notice::Plain, "Too many ...<br>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    Report r;
    MessageBudget b(3);
    EXPECT_EQ(b.limit(), 3);
    for (int k = 1; k <= 2; ++k) {
      EXPECT_TRUE(b.allows());
      EXPECT_FALSE(b.spend(r, c.form, "Too many ...<br>\n"));
      EXPECT_EQ(b.used(), k);
    }
    EXPECT_EQ(r.contents(), "");
    EXPECT_TRUE(b.allows());
    EXPECT_TRUE(b.spend(r, c.form, "Too many ...<br>\n"));
    EXPECT_FALSE(b.allows());
    EXPECT_EQ(r.contents(), c.written);
    // Counting on past the cap writes nothing more, nor does asking for the notice again.
    EXPECT_FALSE(b.spend(r, c.form, "Too many ...<br>\n"));
    EXPECT_FALSE(b.writeNotice(r, c.form, "Too many ...<br>\n"));
    EXPECT_EQ(r.contents(), c.written);
    EXPECT_EQ(b.used(), 4);
  }
}

TEST(MessageBudget, DeferredNoticeAndReset) {
  Report r;
  MessageBudget b(2);
  EXPECT_FALSE(b.spend());
  EXPECT_TRUE(b.spend());
  EXPECT_EQ(r.contents(), "");  // spend() without a report only counts
  EXPECT_TRUE(b.writeNotice(r, MessageBudget::Notice::Plain, "N\n"));
  EXPECT_FALSE(b.writeNotice(r, MessageBudget::Notice::Plain, "N\n"));
  EXPECT_EQ(r.contents(), "N\n");
  b.reset();
  EXPECT_EQ(b.used(), 0);
  EXPECT_TRUE(b.allows());
  b.spend();
  EXPECT_TRUE(b.spend(r, MessageBudget::Notice::Plain, "N\n"));
  EXPECT_EQ(r.contents(), "N\nN\n") << "a reset budget writes its notice again";
}

TEST(MessageBudget, NoticeIsWrittenAsItStands) {
  // A notice is no format: a percent sign stays.
  for (MessageBudget::Notice form :
       {MessageBudget::Notice::Warning, MessageBudget::Notice::Error, MessageBudget::Notice::Plain}) {
    Report r;
    MessageBudget b(1);
    b.spend(r, form, "100% <b>%d\n");
    EXPECT_NE(r.contents().find("100% <b>%d\n"), std::string::npos) << r.contents();
  }
}

}  // namespace
}  // namespace tarvik::test
