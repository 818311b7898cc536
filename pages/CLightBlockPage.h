#pragma once

// What the mouse pad page and the headset page share, on the light-block model
// (devices/LightBlockModel.h): the page built from its layout (picture, profile panel with the
// lighting tab, lighting panel), the device's slot and block read on a resynchronisation
// (message 0x0D00 with the slot), the power poll (the indicator, then 0x0D01 with byte 4), the
// lighting shown and written, reset and profile changes. CKestravaMousePadDevice and
// CKestravaHS6533Device derive from it; the main window tells them apart by their classes.

#include "devices/LightBlockModel.h"
#include "pages/CKestravaUSBDevice.h"

#include <QString>

namespace q407::pages {

// The slot a mouse pad or headset reports as current (wParam).
inline constexpr unsigned kPadSlotMessage = 0x0D00;

class CLightBlockPage : public CKestravaUSBDevice {
    Q_OBJECT
public:
    explicit CLightBlockPage(QWidget* parent = nullptr);
    ~CLightBlockPage() override;

    q407::devices::LightBlockModel& Block();
    const q407::devices::LightBlockModel& Block() const;

    // --- Device interface ----------------------------------------------------------------------
    void InitPage() override;
    void OnProfileSelected() override;
    void PollPower() override;
    void RefreshPage() override;
    void ResetToDefault() override;
    void LoadNameLists() override;
    int ApplySelectedProfile() override;
    int RestoreLighting() override;

protected:
    // Binds the picture, sets up the profile and lighting panels, loads and shows the profile.
    virtual void BuildPage();
    // The selected profile of the profile panel becomes the model's, and is loaded.
    void LoadSelectedProfile();
    void ShowLightSettings();
    // The about page: product and connection, then `extraValue` in `extraControl`.
    void ShowAbout(const char* extraControl, const QString& extraValue);
    void StartLightThreadWhenOpen();
    template <typename T>
    T* PageControl(const QString& name) const;
};

} // namespace q407::pages
