#include "pages/CLightBlockPage.h"

#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "hid/DeviceTable.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QLabel>

namespace q407::pages {
namespace devices = q407::devices;

namespace {

// The lighting feature: the first tab of the profile panel, the first function page.
constexpr int kLightingFeature = 1;

} // namespace

CLightBlockPage::CLightBlockPage(QWidget* parent) : CKestravaUSBDevice(parent) {}

CLightBlockPage::~CLightBlockPage() {
    // The threads call the model's own frames: stop them while it still exists.
    if (HasModel()) {
        Model().StopPageThreads();
    }
}

devices::LightBlockModel& CLightBlockPage::Block() {
    return static_cast<devices::LightBlockModel&>(Model());
}

const devices::LightBlockModel& CLightBlockPage::Block() const {
    return static_cast<const devices::LightBlockModel&>(Model());
}

template <typename T>
T* CLightBlockPage::PageControl(const QString& name) const {
    return qobject_cast<T*>(
        toolkit::FindSubControlByName(const_cast<CLightBlockPage*>(this), name));
}

// --- Building ------------------------------------------------------------------------------------

void CLightBlockPage::InitPage() {
    BuildPage();
}

void CLightBlockPage::BuildPage() {
    CKestravaUSBDevice::InitPage();
    if (!HasModel() || Model().PageXml().empty()) {
        return;
    }
    devices::LightBlockModel& block = Block();
    // The light modes of this product are the row of the light list its option row names.
    const auto options = q407::hid::DeviceOptions();
    if (block.LayoutIndex() >= 0 &&
        static_cast<std::size_t>(block.LayoutIndex()) < options.size()) {
        block.SetLightTable(options[static_cast<std::size_t>(block.LayoutIndex())].i[0]);
    }
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        profiles->SetDeviceKind(block.Kind());
        profiles->SetProfilePaths(block.GetProfileFolder(), block.GetDefaultProfilePath());
        profiles->InitProfiles();
        profiles->SelectFeatureTab(kLightingFeature);
        SelectFeaturePage(kLightingFeature);
        block.SetProfileUuid(profiles->GetSelectedUUID());
    }
    LoadNameLists();
    block.UpdateProfilePaths();
    block.LoadProfile();
    RefreshPage();
}

void CLightBlockPage::LoadNameLists() {
    if (!HasModel()) {
        return;
    }
    const devices::NameLists lists = Block().LoadNameLists();
    if (editors::CLightControlUI* light = LightPanel()) {
        light->SetDeviceKind(Model().Kind());
        light->InitModeList(lists.lightNames, lists.lightVisible, 4, 4);
    }
}

void CLightBlockPage::LoadSelectedProfile() {
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        Block().SetProfileUuid(profiles->GetSelectedUUID());
    }
    Block().UpdateProfilePaths();
    Block().LoadProfile();
}

void CLightBlockPage::StartLightThreadWhenOpen() {
    if (Model().IsOpen() && !Model().IsLightThreadRunning()) {
        Model().StartLightThread();
    }
}

// --- Device interface ----------------------------------------------------------------------------

void CLightBlockPage::OnProfileSelected() {
    if (!HasModel()) {
        return;
    }
    // A closed device is not asked; the last slot known is still reported.
    Block().ReadDeviceConfig();
    if (toolkit::WindowImplBase* window = MainWindow()) {
        window->PostMessage(kPadSlotMessage, Block().CurrentSlot());
    }
}

void CLightBlockPage::PollPower() {
    if (!HasModel() || !Model().HasPower()) {
        return;
    }
    const auto state = Block().PollPowerState();
    if (!state) {
        return; // the indicator keeps what it showed
    }
    if (CMpDevicePowerUI* indicator = PowerIndicator()) {
        indicator->SetPowerState(*state, Model().Kind());
    }
    if (toolkit::WindowImplBase* window = MainWindow()) {
        window->PostMessage(kPowerShownMessage, (*state)[4]);
    }
}

void CLightBlockPage::RefreshPage() {
    if (!HasModel()) {
        return;
    }
    LoadNameLists();
    ShowLightSettings();
}

void CLightBlockPage::ShowLightSettings() {
    if (editors::CLightControlUI* light = LightPanel()) {
        light->ShowLightInfo(LightRecord());
    }
}

void CLightBlockPage::ResetToDefault() {
    if (!HasModel()) {
        return;
    }
    Block().ResetProfileToDefault();
    RefreshPage();
}

int CLightBlockPage::ApplySelectedProfile() {
    if (!HasModel()) {
        return 0;
    }
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        profiles->SelectProfile(profiles->GetSelectedIndex());
    }
    LoadSelectedProfile();
    RefreshPage();
    if (!Model().IsOpen()) {
        return 0; // nothing to write to; the profile is used when the device comes back
    }
    return Block().WriteConfig(0, 0, 1, 0, 0) == 1 ? 0 : -1;
}

int CLightBlockPage::RestoreLighting() {
    const int result = CKestravaUSBDevice::RestoreLighting();
    ShowLightSettings();
    return result;
}

void CLightBlockPage::ShowAbout(const char* extraControl, const QString& extraValue) {
    const auto show = [this](const char* name, const QString& value) {
        if (auto* label = PageControl<QLabel>(QString::fromLatin1(name))) {
            label->setText(value);
        }
    };
    if (const auto* title = PageControl<QLabel>(QStringLiteral("device_page_title"))) {
        show("about_product_value", title->text());
    }
    auto& resources = toolkit::ResourceManager::Instance();
    show("about_connection_value",
         resources.Text(QStringLiteral(QT_TRID_NOOP("connection_cable"))));
    show(extraControl, extraValue);
}

} // namespace q407::pages
