#include "platform/windows/WindowsPanelComponent.h"

#include "platform/windows/ComSupport.h"

namespace tessaron::platform::windows {
namespace {

constexpr long kCannotCreateObject = 429;

class AutomationPanelComponent : public PanelComponent {
public:
    explicit AutomationPanelComponent(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    std::string ComputerName() override { return object_.textProperty("ComputerName"); }

    void Execute(const std::string& commandLine) override {
        Variant line(commandLine);
        object_.call("Execute", {line.get()});
    }

private:
    Automation object_;
};

}  // namespace

std::unique_ptr<PanelComponent> createPanelComponent() {
    enterComApartment();
    CLSID classId{};
    HRESULT result = CLSIDFromProgID(L"Tessaron.Master", &classId);
    ComPtr<IDispatch> object;
    if (SUCCEEDED(result)) {
        result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IDispatch, reinterpret_cast<void**>(object.out()));
    }
    if (FAILED(result))
        throw PlatformError(kCannotCreateObject, "ActiveX component can't create object");
    return std::make_unique<AutomationPanelComponent>(std::move(object));
}

}  // namespace tessaron::platform::windows
