#include "platform/event_pump.h"
#include "platform/main_window.h"
#include "platform/message_box.h"
#include "platform/program_exit.h"
#include "registry/win32_registry.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    tarvex::Win32Registry registry;
    tarvex::ExitProcessNow exit;
    tarvex::MainWindow window(instance, registry, exit);
    tarvex::Win32MessageBoxes messages;
    tarvex::RunEventOperation([&] { window.Create(); }, messages, exit);
    window.Show(showCommand);

    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) tarvex::DispatchWindowMessage(window.hwnd(), message);
    // -1 is a failure of the message loop itself, not a quit with a code.
    return got == 0 ? static_cast<int>(message.wParam) : tarvex::kUntrappedErrorExitCode;
}
