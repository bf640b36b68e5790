// The device callbacks written down as they come.
#include "support/CallbackLog.h"

#include "framework/Framework.h"

namespace {

HRESULT CALLBACK LogCreated(IDirect3DDevice9*, const D3DSURFACE_DESC*, void* context) {
    auto* log = static_cast<CallbackLog*>(context);
    log->calls.push_back("created");
    return log->createdResult;
}
HRESULT CALLBACK LogReset(IDirect3DDevice9*, const D3DSURFACE_DESC* desc, void* context) {
    auto* log = static_cast<CallbackLog*>(context);
    log->calls.push_back("reset " + std::to_string(desc->Width) + "x" + std::to_string(desc->Height));
    return log->resetResult;
}
void CALLBACK LogLost(void* context) {
    static_cast<CallbackLog*>(context)->calls.push_back("lost");
}
void CALLBACK LogDestroyed(void* context) {
    static_cast<CallbackLog*>(context)->calls.push_back("destroyed");
}

} // namespace

void CallbackLog::Install() {
    FrameworkSetDeviceCreatedCallback(LogCreated, this);
    FrameworkSetDeviceResetCallback(LogReset, this);
    FrameworkSetDeviceLostCallback(LogLost, this);
    FrameworkSetDeviceDestroyedCallback(LogDestroyed, this);
}

std::string CallbackLog::Joined() const {
    std::string all;
    for (const std::string& call : calls) {
        all += all.empty() ? call : ", " + call;
    }
    return all;
}
