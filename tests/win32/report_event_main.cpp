// Reports one event through Win32EventLog, for the tests that read what
// wine's event log calls print:
//   report_event start WHAT [BACKUP...]   event 100
//   report_event end CODE SUMMARY         the outcome's event
// Prints "written" or "not written (CALL, status N)"; exits 0 when written.
#include "core/run_events.h"
#include "win32/wide_text.h"
#include "win32/win32_event_log.h"

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring kind = argv[1];
    tarvex::Win32EventLog log;
    const tarvex::RunIdentity who = log.Identity();
    tarvex::EventRecord event;
    if (kind == L"start") {
        std::vector<tarvex::Utf8Text> backups;
        for (int i = 3; i < argc; ++i) backups.push_back(tarvex::WideToUtf8(argv[i]));
        event = tarvex::AboutToChangeEvent(tarvex::WideToUtf8(argv[2]), backups, who);
    } else if (kind == L"end" && argc == 4) {
        const auto outcome = tarvex::OutcomeEvent(std::stoi(argv[2]), tarvex::WideToUtf8(argv[3]), who);
        if (!outcome) return 2;
        event = *outcome;
    } else {
        return 2;
    }
    const tarvex::EventWritten written = log.Report(event);
    std::printf("%s\n", tarvex::EventWrittenText(written).c_str());
    return written.written() ? 0 : 1;
}
