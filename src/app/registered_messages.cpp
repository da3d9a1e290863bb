#include "app/registered_messages.h"

#include "device/discovery/product_message.h"
#include "pages/hook_messages.h"
#include "platform/window_messages.h"

const RegisteredMessages& AppMessages() {
    static const RegisteredMessages messages = [] {
        RegisteredMessages m;
        m.product = RegisterProductMessage();
        m.updateResult = RegisterWindowMessageW(kUpdateResultMessageName);
        m.lightControlAnnounce = RegisterWindowMessageW(kLightControlAnnounceMessageName);
        m.lightControlRequest = RegisterWindowMessageW(kLightControlRequestMessageName);
        m.configQuery = RegisterWindowMessageW(kConfigQueryMessageName);
        m.hook = RegisterHookMessages();
        return m;
    }();
    return messages;
}
