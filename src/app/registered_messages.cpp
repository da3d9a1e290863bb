#include "app/registered_messages.h"

#include "platform/window_messages.h"

const RegisteredMessages& AppMessages() {
    static const RegisteredMessages messages = [] {
        RegisteredMessages m;
        m.product = RegisterWindowMessageW(kProductName);
        m.updateResult = RegisterWindowMessageW(kUpdateResultMessageName);
        m.lightControlAnnounce = RegisterWindowMessageW(kLightControlAnnounceMessageName);
        m.lightControlRequest = RegisterWindowMessageW(kLightControlRequestMessageName);
        m.configQuery = RegisterWindowMessageW(kConfigQueryMessageName);
        for (size_t i = 0; i < kHookMessageNames.size(); ++i) {
            m.hook[i] = RegisterWindowMessageW(kHookMessageNames[i]);
        }
        return m;
    }();
    return messages;
}
