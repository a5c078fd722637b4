#include "front/failure_text.h"

#include "data/data_errors.h"
#include "engine/errors.h"
#include "imaging/imagick.h"

#include <gtest/gtest.h>

#include <new>

namespace {

template <class E>
std::exception_ptr Raised(E error)
{
    return std::make_exception_ptr(std::move(error));
}

// The window's boxes and the batch tool's stderr both word a failure through these, so one
// table holds what each kind of failure becomes in both reports.
TEST(FailureText, EveryKindHasItsWords)
{
    struct Case {
        std::exception_ptr failure;
        const char* report; // the default error report
        const char* load;   // the open command's box
        bool cancelled;
    };
    const Case cases[] = {
        {Raised(EGeneric("Ошибка в строке :3")), "Ошибка в строке :3.",
         "Ошибка в строке :3(Exception)", false},
        {Raised(EConvertError("'x' is not a valid floating point value")),
         "'x' is not a valid floating point value.",
         "'x' is not a valid floating point value(EConvertError)", false},
        {Raised(EOutOfMemory("Not enough memory")), "Not enough memory.",
         "Not enough memory(EOutOfMemory)", false},
        {Raised(EImageError("The picture could not be written")),
         "The picture could not be written.", "The picture could not be written(EImageError)",
         false},
        {Raised(std::bad_alloc()), "Out of memory.", "Out of memory(EOutOfMemory)", false},
        {Raised(std::runtime_error("disk on fire")), "disk on fire.", "disk on fire(Exception)",
         false},
        {Raised(42), "Unknown failure.", "Unknown failure(Exception)", false},
        {Raised(ECancelled()), "Cancelled.", "Cancelled(ECancelled)", true},
    };
    for (const Case& c : cases) {
        const TFailureText text = DescribeFailure(c.failure);
        EXPECT_EQ(DefaultReportText(text), c.report);
        EXPECT_EQ(LoadErrorText(text), c.load);
        EXPECT_EQ(text.Cancelled, c.cancelled) << c.report;
    }
}

// A full stop is added only after a character that sorts after "."; nothing to an empty text.
TEST(FailureText, FullStopRule)
{
    EXPECT_EQ(WithFullStop("done"), "done.");
    EXPECT_EQ(WithFullStop("done."), "done.");
    EXPECT_EQ(WithFullStop("(x)"), "(x)");
    EXPECT_EQ(WithFullStop("a-"), "a-");
    EXPECT_EQ(WithFullStop("7"), "7.");
    EXPECT_EQ(WithFullStop(""), "");
}

} // namespace
