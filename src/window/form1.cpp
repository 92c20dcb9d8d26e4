#include "window/form1.h"

#include "core/app_folder.h"
#include "window/deletion.h"
#include "window/fill_connection_list.h"
#include "window/list_rules.h"
#include "window/table_copy.h"

#include <utility>

namespace tarvex {

void Form1::Load(const std::string& executableFolder) { appFolder_ = MakeAppFolder(executableFolder); }

void Form1::Resize() { Run([this] { FitList(controls_.layout); }); }

void Form1::cmdReadClick() {
    RunButton([this] { FillConnectionList(services_, controls_.LV1, controls_.messages); });
}

void Form1::comDelClick() {
    RunButton([this] {
        DeleteTickedConnections(services_, {controls_.LV1, controls_.checks, controls_.messages, controls_.pump},
                                appFolder_);
    });
}

void Form1::cmdCopyClick() { RunButton([this] { CopyTable(controls_.LV1, controls_.clipboard); }); }

void Form1::LV1ColumnClick(int column) {
    Run([this, column] { SortByColumn(controls_.LV1, controls_.pump, column); });
}

void Form1::LV1MouseUp(int button) { Run([this, button] { ToggleSelectedMarks(controls_.LV1, button); }); }

bool Form1::QueryUnload() {
    // Closed in the deletion's event pass, the window would take the list
    // from under the rescan that follows it.
    if (!buttonRunning_) return true;
    closeRequested_ = true;
    return false;
}

void Form1::RunButton(const std::function<void()>& operation) {
    // A click that waited in the queue reaches us in the deletion's event
    // pass; run there, a second deletion would work from the stale list and
    // replace the full backup just taken. It is dropped instead.
    if (buttonRunning_) return;
    buttonRunning_ = true;
    {
        struct Done {
            bool& running;
            ~Done() { running = false; }
        } done{buttonRunning_};
        Run(operation);
    }
    if (std::exchange(closeRequested_, false)) controls_.closer.Close();
}

void Form1::Run(const std::function<void()>& operation) {
    RunEventOperation(operation, controls_.messages, controls_.exit);
}

}  // namespace tarvex
