// The window's deletion over the real registry, SetupAPI, files and event
// log, its controls stood in for, for the tests that read what wine's event
// log calls print of it:
//   window_deletion FOLDER PATTERN
// ticks every row whose connection matches PATTERN, deletes with the
// window's default backup into FOLDER, and prints the rows left.
#include "core/app_folder.h"
#include "support/fake_connection_list.h"
#include "support/fake_platform.h"
#include "support/win32_services.h"
#include "win32/wide_text.h"
#include "window/deletion.h"
#include "window/fill_connection_list.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    tarvex::Win32Services win;
    tarvex::FakeConnectionList list;
    tarvex::RecordingMessageBoxes messages;
    tarvex::CountingPump pump;
    tarvex::FakeChecks checks;
    tarvex::FillConnectionList(win.services, list, messages);
    const std::string pattern = tarvex::WideToUtf8(argv[2]);
    for (int row = 0; row < list.RowCount(); ++row) list.SetChecked(row, list.RowSubItem(row).rfind(pattern, 0) == 0);
    tarvex::DeleteTickedConnections(win.services, {list, checks, messages, pump},
                                    tarvex::MakeAppFolder(tarvex::WideToUtf8(argv[1])));
    std::printf("%d rows left\n", list.RowCount());
    return 0;
}
