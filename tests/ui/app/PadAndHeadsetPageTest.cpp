// The mouse pad and headset pages in the running main window, with their simulated products and
// the simulated sound card: what the user changes on the page lands in the product's memory, the
// sound card and the profile file; the pages show what the devices hold; both keep their
// settings across a restart of the program; and each page can be looked at as a PNG.

#include "ShellFixture.h"
#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CMagicControlUI.h"
#include "editors/CVoice6533ControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaMousePadDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "profiles/JsonFile.h"
#include "sim/DemoBus.h"
#include "sim/SimulatedAudioConfLib.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <gtest/gtest.h>

namespace {

using q407::pages::CKestravaHS6533Device;
using q407::pages::CKestravaMousePadDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedAudioConfLib;
using q407::sim::SimulatedProduct;
namespace lb = q407::devices::light_block;

class PadAndHeadsetPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.IsValid());
        q407::devices::SetAudioLibrary(m_library);
        OpenWindow(m_bus);
    }
    void TearDown() override {
        m_window.reset();
        if (m_product) {
            m_product->Unplug();
        }
        q407::devices::SetAudioLibrary(nullptr);
    }
    void OpenWindow(q407::hid::HidBackend& backend) {
        m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &backend);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
    }

    // The selected page of type T once it is activated; nullptr when none shows in time.
    template <typename T>
    T* ActivatedPage() {
        return ActivatedSelectedPage<T>(*m_window);
    }
    template <typename T>
    T* Plug(SimProduct which) {
        m_product = SimulatedProduct::Create(which);
        EXPECT_TRUE(m_product->PlugInto(m_bus));
        return ActivatedPage<T>();
    }
    template <typename T = QWidget>
    static T* Find(QWidget* root, const QString& name) {
        return qobject_cast<T*>(q407::toolkit::FindSubControlByName(root, name));
    }
    // A notification as the control itself would raise it.
    void Raise(QWidget* sender, const char* type, qint64 w = 0) {
        ASSERT_NE(sender, nullptr);
        q407::toolkit::TNotifyUI msg;
        msg.sType = QString::fromLatin1(type);
        msg.pSender = sender;
        msg.wParam = w;
        m_window->Notify(msg);
    }
    // The user checks an option (the toolkit tells "selectchanged" with the new state).
    void Choose(QWidget* root, const QString& name, bool checked = true) {
        auto* option = Find<QAbstractButton>(root, name);
        ASSERT_NE(option, nullptr) << name.toStdString();
        {
            const QSignalBlocker quiet(option); // one notification, the one raised below
            option->setChecked(checked);
        }
        Raise(option, "selectchanged", checked ? 1 : 0);
    }
    void Slide(QWidget* root, const QString& name, int value) {
        auto* slider = Find<QSlider>(root, name);
        ASSERT_NE(slider, nullptr) << name.toStdString();
        {
            const QSignalBlocker quiet(slider);
            slider->setValue(value);
        }
        Raise(slider, "valuechanged", value);
    }
    Json::Value Entry(q407::pages::CKestravaUSBDevice* page, int index) {
        return q407::profiles::ReadJsonFile(page->Model().GetProfilePath())["Device"][index];
    }
    void Screenshot(const char* name) {
        m_window->resize(1000, 640);
        testutil::WaitUntil([] { return false; }, 30); // let the layout settle
        const QString folder = QStringLiteral(Q407_BIN_DIR "/screenshots");
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(m_window->grab().toImage().save(
            QStringLiteral("%1/%2.png").arg(folder, QString::fromLatin1(name))));
    }
    void ShowFeature(q407::pages::CKestravaUSBDevice* page, int feature) {
        page->ProfilePanel()->SelectFeatureTab(feature);
        page->SelectFeaturePage(feature);
    }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_scriptedDialogs;
    q407::toolkit::ScriptedDialogs* m_dialogs = &m_scriptedDialogs.Dialogs();
    std::shared_ptr<SimulatedAudioConfLib> m_library = std::make_shared<SimulatedAudioConfLib>();
    q407::sim::VirtualHidBus m_bus;
    std::shared_ptr<SimulatedProduct> m_product;
    std::unique_ptr<q407::app::CMainWnd> m_window;
};

TEST_F(PadAndHeadsetPageTest, PadShowsItsLightingAndThePhoneOnItsCharger) {
    auto* page = Plug<CKestravaMousePadDevice>(SimProduct::MousePad);
    ASSERT_NE(page, nullptr);
    const auto light = page->Pad().GetLightParams();
    EXPECT_EQ(page->LightPanel()->GetSelectedMode(), light.mode);
    EXPECT_EQ(page->LightButtons().size(), 15);
    for (const auto& button : page->LightButtons()) {
        EXPECT_NE(button, nullptr) << "every LED of the edge is on the picture";
    }
    QWidget* phone = Find(page->PowerIndicator(), QStringLiteral("device_phone_type"));
    ASSERT_NE(phone, nullptr);
    // The pad polls its power 50 ms after activation; the sane pad charges a phone of type 1.
    EXPECT_TRUE(testutil::WaitUntil([&] {
        return phone->property("bkimage").toString().contains(QLatin1String("Phone_type_iphone"));
    }));
    EXPECT_FALSE(phone->isHidden());
    const std::pair<std::uint8_t, const char*> phones[] = {{2, "Phone_type_samsung"},
                                                           {0, "Phone_type_no_device"}};
    for (const auto& [type, picture] : phones) {
        m_product->Firmware().SetPowerState({100, 2, 0, 0, 0, type, 0, 0});
        page->PollPower();
        EXPECT_TRUE(phone->property("bkimage").toString().contains(QLatin1String(picture)));
    }
    ShowFeature(page, 1);
    Screenshot("mousepad-lighting");
    ShowFeature(page, 9);
    Screenshot("mousepad-about");
}

TEST_F(PadAndHeadsetPageTest, PadLightingEditsReachThePadAndTheProfile) {
    auto* page = Plug<CKestravaMousePadDevice>(SimProduct::MousePad);
    ASSERT_NE(page, nullptr);
    q407::editors::CLightControlUI* light = page->LightPanel();
    auto* mode = Find<QComboBox>(light, QStringLiteral("light_combo_modeSelect"));
    ASSERT_NE(mode, nullptr);
    mode->setCurrentIndex(3);
    Raise(mode, "itemselect", 3);
    Slide(light, QStringLiteral("deng_light_slider"), 2);
    const auto memory = m_product->Firmware().Memory().settingsMemory;
    EXPECT_EQ(memory[lb::kEffect], page->Pad().EffectCodes().at(3));
    EXPECT_EQ(memory[lb::kBrightness], 2);
    EXPECT_EQ(Entry(page, 2)["LightInfo"]["SelectItem"].asInt(), 3);
    EXPECT_EQ(Entry(page, 2)["LightInfo"]["Light"].asInt(), 2);
}

TEST_F(PadAndHeadsetPageTest, HeadsetPageShowsTheSoundCardAndTheProfile) {
    m_library->SetValue(2, "VolumeScalarControl", "0.62");
    auto* page = Plug<CKestravaHS6533Device>(SimProduct::Headset);
    ASSERT_NE(page, nullptr);
    q407::editors::CVoice6533ControlUI* voice = page->VoicePanel();
    ASSERT_NE(voice, nullptr);
    ASSERT_NE(page->MagicPanel(), nullptr);
    EXPECT_EQ(voice->GetMicInLevel(), 62);
    EXPECT_EQ(voice->GetMonitorLevel(), 30);
    EXPECT_TRUE(Find<QAbstractButton>(voice, QStringLiteral("6533_MicIn_option"))->isChecked());
    EXPECT_FALSE(
        Find<QAbstractButton>(voice, QStringLiteral("6533_MicMoniter_option"))->isChecked())
        << "the monitor is muted";
    EXPECT_TRUE(Find<QAbstractButton>(voice, QStringLiteral("6533_eq_option_1"))->isChecked());
    for (int band = 0; band < 10; ++band) {
        EXPECT_EQ(voice->GetEqBand(band), q407::devices::BuiltInEqCurve(1)[band]) << band;
    }
    EXPECT_FALSE(Find(voice, QStringLiteral("custom_eq_option_layout"))->isEnabled());
    EXPECT_TRUE(Find(voice, QStringLiteral("mic_row"))->isEnabled());
    EXPECT_TRUE(m_dialogs->Asked().isEmpty());
    EXPECT_EQ(page->LightButtons().size(), 13);
    for (const auto& [feature, name] :
         {std::pair{1, "headset-lighting"}, std::pair{6, "headset-audio"},
          std::pair{7, "headset-voice-changer"}, std::pair{9, "headset-about"}}) {
        ShowFeature(page, feature);
        Screenshot(name);
    }
}

TEST_F(PadAndHeadsetPageTest, HeadsetAudioControlsReachTheSoundCardAndTheProfile) {
    auto* page = Plug<CKestravaHS6533Device>(SimProduct::Headset);
    ASSERT_NE(page, nullptr);
    q407::editors::CVoice6533ControlUI* voice = page->VoicePanel();
    ASSERT_NE(voice, nullptr);
    // Curve 5 and then a band moved: the options switch to custom, nothing more is stored.
    Choose(voice, QStringLiteral("6533_eq_option_5"));
    EXPECT_EQ(m_library->Value(1, "EQ_Slider4"), "0");
    EXPECT_EQ(Entry(page, 3)["SystemSetStages"]["EqType"].asInt(), 5);
    Slide(voice, QStringLiteral("6533_eq_hz_slider_3"), 6);
    EXPECT_EQ(m_library->Value(1, "EQ_Slider4"), "6");
    EXPECT_TRUE(Find<QAbstractButton>(voice, QStringLiteral("6533_eq_option_13"))->isChecked());
    EXPECT_FALSE(Find<QAbstractButton>(voice, QStringLiteral("6533_eq_option_5"))->isChecked());
    EXPECT_TRUE(Find(voice, QStringLiteral("custom_eq_option_layout"))->isEnabled());
    EXPECT_EQ(Entry(page, 3)["SystemSetStages"]["EqType"].asInt(), 5);

    // Saved as "Bass"; "bASS" is refused with message 5.
    auto* name = Find<QLineEdit>(voice, QStringLiteral("custom_eq_name_edit"));
    name->setText(QStringLiteral("Bass"));
    Raise(Find(voice, QStringLiteral("hs_EQ_btn_save")), "click");
    EXPECT_EQ(voice->GetCustomEqCount(), 1);
    EXPECT_EQ(voice->GetCustomEqSelection(), 0);
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_EQ(Entry(page, 3)["CustomEQNameInfo"][0]["Name"].asString(), "Bass");
    EXPECT_EQ(Entry(page, 3)["CustomEQHzValueInfo"][0][3]["value"].asInt(), 6);
    name->setText(QStringLiteral("bASS"));
    Raise(Find(voice, QStringLiteral("hs_EQ_btn_save")), "click");
    EXPECT_EQ(m_dialogs->Asked(),
              QStringList{QStringLiteral("box:") + q407::toolkit::ResourceManager::Instance().Text(
                                                       QStringLiteral("message_text_5"))});
    EXPECT_EQ(voice->GetCustomEqCount(), 1);
    Raise(Find(voice, QStringLiteral("hs_EQ_btn_delete")), "click");
    EXPECT_EQ(voice->GetCustomEqCount(), 0);
    EXPECT_TRUE(Find<QAbstractButton>(voice, QStringLiteral("6533_eq_option_1"))->isChecked());

    // Microphone and monitor.
    Choose(voice, QStringLiteral("6533_MicIn_option"), false);
    EXPECT_EQ(m_library->Value(2, "MuteControl"), "1");
    Slide(voice, QStringLiteral("6533_MicIn_slider"), 75);
    EXPECT_EQ(m_library->Value(2, "VolumeScalarControl"), "0.75");
    Choose(voice, QStringLiteral("6533_MicMoniter_option"));
    EXPECT_EQ(m_library->Value(2, "AAMuteControl"), "0");
    Slide(voice, QStringLiteral("6533_MicMoniter_slider"), 45);
    EXPECT_EQ(m_library->Value(2, "AAVolumeScalarControl"), "0.45");
    const Json::Value stages = Entry(page, 3)["SystemSetStages"];
    EXPECT_EQ(stages["MicInSelect"].asInt(), 0);
    EXPECT_EQ(stages["MicInValue"].asInt(), 75);
    EXPECT_EQ(stages["MicMoniterSelect"].asInt(), 1);
    EXPECT_EQ(stages["MicMoniterValue"].asInt(), 45);

    // The voice changer.
    q407::editors::CMagicControlUI* magic = page->MagicPanel();
    EXPECT_FALSE(Find(magic, QStringLiteral("magic_option_layout"))->isEnabled());
    Choose(magic, QStringLiteral("magic_enable_option"));
    EXPECT_TRUE(Find(magic, QStringLiteral("magic_option_layout"))->isEnabled());
    Choose(magic, QStringLiteral("magic_option_3"));
    EXPECT_EQ(m_library->Value(2, "Enable_MAGICVOICE"), "1");
    EXPECT_EQ(m_library->Value(2, "MagicVoice_Selection"), "2");
    EXPECT_EQ(Entry(page, 3)["SystemSetStages"]["MagicType"].asInt(), 3);
}

TEST_F(PadAndHeadsetPageTest, HeadsetTellsLibraryFaultsAndFollowsTheSoundCard) {
    m_library->SetInitResult(1);
    m_library->SetValue(1, "GetSupportFeature", "1,2");
    auto* page = Plug<CKestravaHS6533Device>(SimProduct::Headset);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(m_dialogs->Asked(), (QStringList{QStringLiteral("box:ConfLibInit called failed!"),
                                               QStringLiteral("box:UpdateAPOAvailable failed!")}));
    QWidget* micRow = Find(page->VoicePanel(), QStringLiteral("mic_row"));
    ASSERT_TRUE(micRow->isEnabled());
    m_library->Unplug();
    EXPECT_TRUE(testutil::WaitUntil([&] { return !micRow->isEnabled(); }));
    m_library->Plug();
    EXPECT_TRUE(testutil::WaitUntil([&] { return micRow->isEnabled(); }));
}

TEST_F(PadAndHeadsetPageTest,
       HeadsetPictureAnimatesAndReportsGoOutOnlyWhileTheProgramDrivesTheLeds) {
    auto* page = Plug<CKestravaHS6533Device>(SimProduct::Headset);
    ASSERT_NE(page, nullptr);
    auto record = page->LightRecord();
    record.mode = 1; // spectrum: a new colour on every frame
    record.brightness = 4;
    page->ApplyLightRecord(record);
    QWidget* led = page->LightButtons().front();
    const QColor first = q407::pages::LightColour(led);
    EXPECT_TRUE(testutil::WaitUntil([&] { return q407::pages::LightColour(led) != first; }));
    EXPECT_EQ(m_product->Firmware().LedReports(), 0) << "the headset's own lighting runs";
    page->Model().SetLightOutput(true);
    EXPECT_TRUE(testutil::WaitUntil([&] { return m_product->Firmware().LedReports() >= 24; }));
    EXPECT_EQ(m_product->Firmware().LedReports() % 12, 0) << "whole frames only";
}

// One run of the demo: its bus and sound card from the state folder, its window.
struct DemoRun {
    explicit DemoRun(const std::filesystem::path& folder)
        : demo(q407::sim::MakeDemoBus(folder)), library(std::make_shared<SimulatedAudioConfLib>()) {
        library->KeepIn(folder / "headset-sound-card.json");
        q407::devices::SetAudioLibrary(library);
        window = std::make_unique<q407::app::CMainWnd>(nullptr, demo.bus.get());
        EXPECT_TRUE(window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
    }
    ~DemoRun() {
        window.reset();
        q407::devices::SetAudioLibrary(nullptr);
    }
    template <typename T>
    T* Page() {
        T* found = nullptr;
        EXPECT_TRUE(testutil::WaitUntil(
            [&] {
                auto* pages = window->Pages();
                for (int i = 0; i < pages->PageCount(); ++i) {
                    if (auto* page = qobject_cast<T*>(pages->Page(i));
                        page != nullptr && pages->Entry(i)->IsActivated()) {
                        found = page;
                    }
                }
                return found != nullptr;
            },
            10000));
        return found;
    }
    q407::sim::DemoBus demo;
    std::shared_ptr<SimulatedAudioConfLib> library;
    std::unique_ptr<q407::app::CMainWnd> window;
};

TEST(PadAndHeadsetRestart, DemoKeepsPadAndHeadsetSettingsAcrossARestart) {
    testutil::UserFolderScope home;
    testutil::ScriptedDialogsScope dialogs;
    const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
    ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    const std::filesystem::path state = q407::paths::UserDir() / "demo-devices";
    {
        DemoRun first(state);
        auto* pad = first.Page<CKestravaMousePadDevice>();
        auto* headset = first.Page<CKestravaHS6533Device>();
        ASSERT_TRUE(pad && headset);
        auto light = pad->LightRecord();
        light.mode = 4;
        pad->ApplyLightRecord(light);
        headset->Headset().SelectEqPreset(9, -1);
        headset->Headset().ChangeMicLevel(33);
        headset->Headset().ChangeMagicEnable(true);
    }
    DemoRun second(state);
    auto* pad = second.Page<CKestravaMousePadDevice>();
    auto* headset = second.Page<CKestravaHS6533Device>();
    ASSERT_TRUE(pad && headset);
    EXPECT_EQ(pad->LightPanel()->GetSelectedMode(), 4);
    ASSERT_EQ(pad->Pad().ReadDeviceConfig(), 1);
    EXPECT_EQ(pad->Pad().ConfigBlock()[lb::kEffect], 4) << "the pad kept its block";
    const auto* preset = qobject_cast<QAbstractButton*>(q407::toolkit::FindSubControlByName(
        headset->VoicePanel(), QStringLiteral("6533_eq_option_9")));
    ASSERT_NE(preset, nullptr);
    EXPECT_TRUE(preset->isChecked());
    EXPECT_EQ(headset->VoicePanel()->GetMicInLevel(), 33);
    EXPECT_TRUE(headset->MagicPanel()->IsMagicEnabled());
}

} // namespace
