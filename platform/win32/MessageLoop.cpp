#include "MessageLoop.h"

#include "Form.h"
#include "Win32.h"

namespace zavi {

int RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchQueuedMessage(message);
    }
    return static_cast<int>(message.wParam);
}

void DispatchQueuedMessage(MSG& message) {
    if (Form::PreTranslateMessage(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace zavi
