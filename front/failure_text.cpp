#include "front/failure_text.h"

#include "engine/errors.h"

#include <filesystem>
#include <new>

namespace {

// The library's own text ("filesystem error: cannot create directories: ... [/p/]") is not
// a sentence for people; say which path and what went wrong.
std::string FileSystemSentence(const std::filesystem::filesystem_error& e)
{
    std::string text = "Cannot use \"" + e.path1().string() + "\"";
    if (!e.path2().empty())
        text += " and \"" + e.path2().string() + "\"";
    return text + ": " + e.code().message();
}

} // namespace

TFailureText DescribeFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ECancelled& e) {
        return {e.what(), e.kind(), true};
    } catch (const TulvoError& e) {
        return {e.what(), e.kind()};
    } catch (const std::filesystem::filesystem_error& e) {
        return {FileSystemSentence(e), "EFileError"};
    } catch (const std::bad_alloc&) {
        return {"Out of memory", "EOutOfMemory"};
    } catch (const std::exception& e) {
        return {e.what(), "Exception"};
    } catch (...) {
        return {"Unknown failure", "Exception"};
    }
}

std::string WithFullStop(const std::string& message)
{
    if (message.empty() || static_cast<unsigned char>(message.back()) <= '.')
        return message;
    return message + ".";
}

std::string DefaultReportText(const TFailureText& failure)
{
    return WithFullStop(failure.Message);
}

std::string LoadErrorText(const TFailureText& failure)
{
    return failure.Message + "(" + failure.Kind + ")";
}
