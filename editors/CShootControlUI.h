#pragma once

// The recoil panel of mouse pages (control "ShootControlItem", content from
// "XML/CustomControlXML/ShootControl.xml"): four guns ("shoot_gun_op_" 0-3, their pictures in
// "shoot_image_display_switch") of thirty bullets ("bullet_op_" 0-29), and the editing area of
// the selected bullet: horizontal and vertical distance with their directions, and the delay
// before the next shot. The tables live in files (profiles/RecoilTables.h); the panel reads and
// writes them, the mouse page sends them to the mouse.
//
// Values the mouse cannot keep are held at its limits (255 for a distance, 65535 for a delay)
// when the bullet is stored, and the edits then show what was stored.

#include "editors/EditorPanel.h"
#include "profiles/RecoilTables.h"

#include <filesystem>

namespace q407::editors {

class CShootControlUI : public CEditorPanel {
    Q_OBJECT
public:
    explicit CShootControlUI(QWidget* parent = nullptr);

    // False when a control the panel needs is missing from the layout; it then does nothing.
    bool IsComplete() const;

    // The device folder (gun files) and the folder of their factory copies; gun files that cannot
    // be read are restored, and gun 0, bullet 1 is shown.
    void SetFolders(const std::filesystem::path& folder,
                    const std::filesystem::path& factoryFolder);
    profiles::RecoilTables Tables() const { return {m_folder, m_factoryFolder}; }

    void SelectGun(int gun);
    int SelectedGun() const { return m_gun; }
    void SelectBullet(int bullet);
    int SelectedBullet() const { return m_bullet; }
    void PreviousBullet();
    void NextBullet();
    // The selected bullet's values in the edits and checks.
    void ShowBullet();
    // The edits and checks into the selected bullet of the gun file; then shown again as stored.
    int StoreBullet();
    // The direction checks show their direction's text.
    void ShowDirectionTexts();

    int ResetGun();
    int ImportGun(const std::filesystem::path& file);
    int ExportGun(const std::filesystem::path& file) const;

private:
    int EditNumber(const char* name) const;

    std::filesystem::path m_folder;
    std::filesystem::path m_factoryFolder;
    int m_gun = 0;
    int m_bullet = -1;
};

} // namespace q407::editors
