// The settings dialog hosted by the settings run and the running saver, driven through the host's and
// the run modes' own message, key and event operations (no window or device: the dialog is built and
// fed directly).
#include "host/CSaverMain.h"
#include "host/CSettingMain.h"
#include "host/DialogHost.h"
#include "host/GracePeriod.h"

#include "effect/CSaverImpl.h"
#include "gui/CGuiSlider.h"
#include "gui/CGuiStatic.h"
#include "settings/CSettingDialogImpl.h"
#include "settings/CSettingImpl.h"
#include "settings/SettingDefaults.h"

#include "support/TempFolder.h"

#include <doctest/doctest.h>

#include <memory>
#include <vector>

namespace {

// Client points of the dialog's buttons and of a spot on no control (the dialog lies at 20, 20).
constexpr POINT kOkPoint{420, 490};
constexpr POINT kCancelPoint{520, 490};
constexpr POINT kResetPoint{620, 490};
constexpr POINT kEmptyPoint{600, 300};

bool QuitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

void DrainQuit() {
    while (QuitPosted()) {
    }
}

template <typename Mode> void Click(Mode& mode, POINT point) {
    bool ignored = false;
    mode.OnMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y), &ignored);
    mode.OnMessage(nullptr, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y), &ignored);
}

template <typename Mode> void Key(Mode& mode, UINT key) {
    bool ignored = false;
    mode.OnKeyboard(key, true, false);
    mode.OnMessage(nullptr, WM_KEYDOWN, key, 0, &ignored);
    mode.OnKeyboard(key, false, false);
    mode.OnMessage(nullptr, WM_KEYUP, key, 0xC0000001, &ignored);
}

CSettingImpl& Record(CSaverBase& mode) {
    return *dynamic_cast<CSettingImpl*>(mode.Effect().GetSetting());
}

// Moves the rotation slider as the user would, by its keys after a click on its thumb.
template <typename Mode> void MoveRotationTo(Mode& mode, int position) {
    auto* slider = static_cast<CGuiSlider*>(
        mode.SettingDialog().Dialog().GetControl(CSettingDialogImpl::kIdSpeedRotation, ControlType::Slider));
    REQUIRE(slider != nullptr);
    const RECT thumb = slider->GetThumbRect();
    Click(mode, POINT{20 + (thumb.left + thumb.right) / 2, 20 + (thumb.top + thumb.bottom) / 2});
    Key(mode, VK_HOME);
    for (int i = 0; i < position; ++i) {
        Key(mode, VK_RIGHT);
    }
    REQUIRE(slider->GetValue() == position);
}

// A run mode that hosts the dialog over a record of its own file and keeps what each event left.
struct HostingMode : CSaverBase {
    explicit HostingMode(const std::wstring& file) : CSaverBase(std::make_unique<CSaverImpl>(file)) {
        host.Create(*Effect().GetSetting(), *this);
    }
    HRESULT CreateMainWindow() override { return E_NOTIMPL; }
    HRESULT CreateMainDevice() override { return E_NOTIMPL; }
    void OnGuiEvent(UINT event, int controlId, CGuiControl* control) override {
        outcomes.push_back(host.OnGuiEvent(event, controlId, control));
    }
    // Whether the dialog took the press and the release of a click.
    std::pair<bool, bool> Click(POINT point) {
        const bool down =
            host.HandleMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        const bool up = host.HandleMessage(nullptr, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        return {down, up};
    }
    DialogHost host;
    std::vector<DialogOutcome> outcomes;
};

} // namespace

TEST_SUITE("host") {

TEST_CASE("DialogHost: the dialog's buttons are consumed clicks; OK saves, Cancel writes nothing, Reset "
          "puts the defaults back; F1 hides and shows the dialog") {
    TempFolder folder;
    const std::wstring file = folder / L"Vitrelle.ini";
    HostingMode mode(file);
    CSettingImpl& record = Record(mode);
    using Taken = std::pair<bool, bool>;

    CHECK(mode.Click(kEmptyPoint) == Taken{false, false});
    CHECK(mode.Click(POINT{5, 5}) == Taken{false, false}); // beside the dialog
    CHECK(mode.outcomes.empty());

    record.PieceCount = 130;
    CHECK(mode.Click(kCancelPoint) == Taken{true, true});
    REQUIRE(mode.outcomes.size() == 1);
    CHECK(mode.outcomes.back() == DialogOutcome::Cancelled);
    CHECK_FALSE(FileExists(file));

    CHECK(mode.Click(kResetPoint) == Taken{true, true});
    CHECK(mode.outcomes.back() == DialogOutcome::Open);
    CHECK(record.PieceCount == kSettingDefaults.PieceCount);
    CHECK_FALSE(FileExists(file));

    record.PieceCount = 77;
    CHECK(mode.Click(kOkPoint) == Taken{true, true});
    CHECK(mode.outcomes.back() == DialogOutcome::Saved);
    CHECK(ReadBytes(file).find("Count=77") != std::string::npos);

    CHECK_FALSE(mode.host.OnKeyboard(VK_F1, false));
    CHECK_FALSE(mode.host.OnKeyboard('A', true));
    CHECK(mode.host.Visible());
    CHECK(mode.host.OnKeyboard(VK_F1, true));
    CHECK_FALSE(mode.host.Visible());
    CHECK(mode.Click(kOkPoint) == Taken{false, false});
    CHECK(mode.outcomes.size() == 3);
    CHECK(mode.host.OnKeyboard(VK_F1, true));
    CHECK(mode.host.Visible());
}

TEST_CASE("DialogHost: when OK cannot save anywhere, the dialog stays open and says so in one line") {
    TempFolder folder;
    HostingMode mode(folder / L"no such folder\\Vitrelle.ini");
    CGuiDialog& dialog = mode.host.SettingDialog().Dialog();
    CHECK(dialog.GetControl(CSettingDialogImpl::kIdSaveFailure, ControlType::Static) == nullptr);
    mode.Click(kOkPoint);
    mode.Click(kOkPoint);
    CHECK(mode.outcomes == std::vector<DialogOutcome>{DialogOutcome::SaveFailed, DialogOutcome::SaveFailed});
    CHECK(mode.host.Visible());
    auto* line = static_cast<CGuiStatic*>(dialog.GetControl(CSettingDialogImpl::kIdSaveFailure, ControlType::Static));
    REQUIRE(line != nullptr);
    CHECK(std::wstring(line->GetText()) == TextsOf(UserInterfaceLanguage()).saveFailure);
    CHECK_FALSE(FileExists(folder / L"no such folder"));
    // Reset builds the dialog anew, without the line.
    mode.Click(kResetPoint);
    CHECK(dialog.GetControl(CSettingDialogImpl::kIdSaveFailure, ControlType::Static) == nullptr);
}

TEST_CASE("Saver dialog: hidden at first; a key-down or a left-button release ends the run") {
    DrainQuit();
    CSaverMain saver;
    REQUIRE(saver.InitSaver() == S_OK);
    CHECK_FALSE(saver.SettingDialog().Dialog().IsVisible());
    CHECK(saver.SettingDialog().Dialog().ControlCount() > 0);
    bool ignored = false;
    saver.OnKeyboard('A', false, false);
    CHECK_FALSE(QuitPosted());
    saver.OnMessage(nullptr, WM_RBUTTONUP, 0, 0, &ignored);
    saver.OnMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, 0, &ignored);
    saver.OnMessage(nullptr, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300), &ignored);
    CHECK_FALSE(QuitPosted());
    saver.OnMessage(nullptr, WM_LBUTTONUP, 0, 0, &ignored);
    CHECK(QuitPosted());
    saver.OnKeyboard('A', true, false);
    CHECK(QuitPosted());
}

TEST_CASE("Saver dialog: F1 shows and hides it; while shown, clicks and keys only operate the dialog") {
    DrainQuit();
    CSaverMain saver;
    REQUIRE(saver.InitSaver() == S_OK);
    Key(saver, VK_F1);
    CHECK(saver.SettingDialog().Dialog().IsVisible());
    Key(saver, 'A');
    Key(saver, VK_SPACE);
    Click(saver, kEmptyPoint);
    MoveRotationTo(saver, 29);
    CHECK_FALSE(QuitPosted());
    CHECK(Record(saver).SpeedRotation == 0.29);
    Key(saver, VK_F1);
    CHECK_FALSE(saver.SettingDialog().Dialog().IsVisible());
    CHECK(saver.DialogClosedTick() == 0); // hiding by F1 opens no grace period
    Key(saver, 'A');
    CHECK(QuitPosted());
}

TEST_CASE("Saver dialog: Cancel reads the file again, hides the dialog and holds input back for a while") {
    DrainQuit();
    CSaverMain saver;
    REQUIRE(saver.InitSaver() == S_OK);
    const double fromFile = Record(saver).SpeedRotation;
    Key(saver, VK_F1);
    MoveRotationTo(saver, 77);
    CHECK(Record(saver).SpeedRotation == 0.77);
    const DWORD before = GetTickCount();
    Click(saver, kCancelPoint);
    const DWORD after = GetTickCount();
    CHECK(Record(saver).SpeedRotation == fromFile);
    CHECK_FALSE(saver.SettingDialog().Dialog().IsVisible());
    CHECK(saver.DialogClosedTick() - before <= after - before);
    // The click's own release and a key right after it do not end the run.
    Key(saver, 'A');
    Click(saver, kEmptyPoint);
    CHECK_FALSE(QuitPosted());
    // The controls keep the moved position until the dialog is built again.
    Key(saver, VK_F1);
    auto* slider = static_cast<CGuiSlider*>(
        saver.SettingDialog().Dialog().GetControl(CSettingDialogImpl::kIdSpeedRotation, ControlType::Slider));
    REQUIRE(slider != nullptr);
    CHECK(slider->GetValue() == 77);
}

TEST_CASE("Saver dialog: Reset puts the defaults back and rebuilds the dialog, which stays") {
    DrainQuit();
    CSaverMain saver;
    REQUIRE(saver.InitSaver() == S_OK);
    Key(saver, VK_F1);
    MoveRotationTo(saver, 50);
    Record(saver).PieceCount = 130;
    Click(saver, kResetPoint);
    CHECK(saver.SettingDialog().Dialog().IsVisible());
    CHECK(Record(saver).SpeedRotation == 0.02);
    CHECK(Record(saver).PieceCount == 50);
    auto* slider = static_cast<CGuiSlider*>(
        saver.SettingDialog().Dialog().GetControl(CSettingDialogImpl::kIdSpeedRotation, ControlType::Slider));
    REQUIRE(slider != nullptr);
    CHECK(slider->GetValue() == 2);
    CHECK(saver.DialogClosedTick() == 0);
    CHECK_FALSE(QuitPosted());
}

TEST_CASE("Saver dialog: events of a hidden dialog change nothing") {
    DrainQuit();
    CSaverMain saver;
    REQUIRE(saver.InitSaver() == S_OK);
    const double rotation = Record(saver).SpeedRotation;
    CGuiControl* cancel = saver.SettingDialog().Dialog().GetControl(CSettingDialogImpl::kIdCancel, ControlType::Button);
    saver.OnGuiEvent(static_cast<UINT>(GuiEvent::ButtonClicked), CSettingDialogImpl::kIdCancel, cancel);
    CHECK(saver.DialogClosedTick() == 0);
    CHECK(Record(saver).SpeedRotation == rotation);
}

TEST_CASE("Settings run dialog: shown from the start; F1 hides and shows it; Reset stays, Cancel ends the run") {
    DrainQuit();
    CSettingMain settings(nullptr);
    REQUIRE(settings.InitSaver() == S_OK);
    CGuiDialog& dialog = settings.SettingDialog().Dialog();
    CHECK(dialog.IsVisible());
    Key(settings, VK_F1);
    CHECK_FALSE(dialog.IsVisible());
    Key(settings, VK_F1);
    CHECK(dialog.IsVisible());
    Key(settings, 'A');
    CHECK_FALSE(QuitPosted());
    MoveRotationTo(settings, 40);
    CHECK(Record(settings).SpeedRotation == 0.4);
    Click(settings, kResetPoint);
    CHECK(Record(settings).SpeedRotation == 0.02);
    CHECK(Record(settings).ScreenWidth == GetSystemMetrics(SM_CXSCREEN));
    CHECK(dialog.IsVisible());
    CHECK_FALSE(QuitPosted());
    Click(settings, kCancelPoint);
    CHECK(QuitPosted());
    settings.ExitSaver();
}

}
