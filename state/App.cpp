#include "state/App.h"

namespace tivelor {

App::~App() { ui.forms.Clear(); }

double App::ShowMsg() {
    msg.MsgAnswer = ui.MsgBox(msg.MsgText, static_cast<int>(msg.MsgStyle), msg.MsgTitle);
    return msg.MsgAnswer;
}

double App::ShowMsg(const std::string& text, int style, const std::string& title) {
    msg.MsgText = text;
    msg.MsgStyle = style;
    msg.MsgTitle = title;
    return ShowMsg();
}

}  // namespace tivelor
