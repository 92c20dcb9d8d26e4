#include "win32/message_box.h"

#include "win32/wide_text.h"

namespace tarvex {

MessageAnswer Win32MessageBoxes::Show(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    UINT style = buttons == MessageButtons::YesNoDefaultNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    style |= buttons == MessageButtons::Ok ? MB_OK : MB_YESNO;
    if (icon == MessageIcon::Critical) style |= MB_ICONERROR;
    if (icon == MessageIcon::Warning) style |= MB_ICONWARNING;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    int answer = MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(kProgramTitle).c_str(), style);
    switch (answer) {
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace tarvex
