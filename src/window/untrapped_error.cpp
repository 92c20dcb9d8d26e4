#include "window/untrapped_error.h"

#include <new>

namespace tarvex {

namespace {

// Numbers for failures that carry none of their own.
constexpr long kInvalidArgumentNumber = 5;
constexpr long kOutOfMemoryNumber = 7;
constexpr long kInternalErrorNumber = 51;

struct ErrorDescription {
    long number;
    std::string text;
};

ErrorDescription DescribeCurrentException() {
    try {
        throw;
    } catch (const AppError& error) {
        return {error.number(), error.what()};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemoryNumber, "Out of memory"};
    } catch (const std::invalid_argument& error) {
        return {kInvalidArgumentNumber, std::string("Invalid procedure call or argument: ") + error.what()};
    } catch (const std::exception& error) {
        return {kInternalErrorNumber, std::string("Internal error: ") + error.what()};
    } catch (...) {
        return {kInternalErrorNumber, "Internal error"};
    }
}

}  // namespace

std::string UntrappedErrorText(long number, const std::string& text) {
    return "Run-time error '" + std::to_string(number) + "':\n\n" + text;
}

void RunEventOperation(const std::function<void()>& operation, MessageBoxes& messages, ProgramExit& exit) {
    try {
        operation();
    } catch (...) {
        ErrorDescription error = DescribeCurrentException();
        messages.Show(UntrappedErrorText(error.number, error.text), MessageIcon::Critical, MessageButtons::Ok);
        exit.Exit(kUntrappedErrorExitCode);
    }
}

}  // namespace tarvex
