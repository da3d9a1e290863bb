#pragma once
// The mouse's recoil editor: four guns, each a file of 30 bullets shown ten at a time.
// A bullet moves the aim by x and y and waits its delay before the next shot.

#include <array>
#include <string>
#include <vector>

#include "duilib/ui_layouts.h"
#include "pages/shoot_data_file.h"

class CShootControlUI : public DuiLib::CVerticalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"ShootControl";
    static constexpr int kBulletsPerPage = 10;
    static constexpr int kPageCount = ShootDataFile::kBulletCount / kBulletsPerPage;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetUserDataFolder(DuiLib::CDuiString folder);
    void SetDefaultDataFolder(DuiLib::CDuiString folder);
    // Copies the gun files the user folder lacks from the default folder (never over a
    // file the user has) and reads all four.
    void InitShootPanel();
    // Gun 0..3 (others select gun 0); bullet 0..9 of the shown page (others bullet 0).
    void SelectGun(int n);
    void SelectBullet(int n);
    // The next or previous ten bullets.
    void StepBullets(bool next);
    int GetGun() const { return m_gun; }
    // The bullet's number in its gun, 0..29.
    int GetBullet() const { return m_page * kBulletsPerPage + m_bullet; }
    ShootBullet GetBulletValues() const;

    // Takes the edits into the selected bullet (an unchecked axis moves by 0).
    void ApplyBulletEdits();
    // Writes every gun edited since it was last written, so that none of the edits the
    // page shows is left out of what the mouse is given. 1 all written, 0 any failed.
    int SaveShootData();
    // The selected gun starts again from its default file.
    int ResetShootData();
    int ImportShootData(DuiLib::CDuiString path);
    int ExportShootData(DuiLib::CDuiString path) const;

  private:
    std::string GunPath(const std::string& folder, int gun) const;
    bool SaveGun(int gun);
    // The bullet's values into the edits, and with `withAxes` its moves into the ticks.
    void ShowBullet(bool withAxes = true);
    int EditNumber(const wchar_t* name, int low, int high) const;

    std::string m_userFolder;
    std::string m_defaultFolder;
    std::array<std::vector<MacroEvent>, ShootDataFile::kGunCount> m_guns;
    std::array<bool, ShootDataFile::kGunCount> m_edited{};
    int m_gun = 0;
    int m_page = 0;
    int m_bullet = 0;
};
