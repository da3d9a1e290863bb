#include "pages/shoot_control_ui.h"

#include <algorithm>

#include "duilib/own_interface.h"
#include "duilib/ui_button.h"
#include "duilib/ui_edit.h"
#include "pages/panel_lookup.h"
#include "platform/paths.h"
#include "profile/stored_file_id.h"

namespace {

constexpr const wchar_t* kGunPrefix = L"shoot_gun_op_";
constexpr const wchar_t* kBulletPrefix = L"bullet_op_";
constexpr const wchar_t* kXEdit = L"bullet_x_eidt";
constexpr const wchar_t* kYEdit = L"bullet_y_eidt";
constexpr const wchar_t* kDelayEdit = L"bullet_delay_eidt";
constexpr const wchar_t* kXCheck = L"bullet_x_check";
constexpr const wchar_t* kYCheck = L"bullet_y_check";

}  // namespace

LPCTSTR CShootControlUI::GetClass() const {
    return kClassName;
}

LPVOID CShootControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CVerticalLayoutUI>(this, pstrName);
}

void CShootControlUI::SetUserDataFolder(DuiLib::CDuiString folder) {
    m_userFolder = FolderWithSeparator(folder.ToUtf8());
}

void CShootControlUI::SetDefaultDataFolder(DuiLib::CDuiString folder) {
    m_defaultFolder = FolderWithSeparator(folder.ToUtf8());
}

std::string CShootControlUI::GunPath(const std::string& folder, int gun) const {
    return folder.empty() ? std::string() : folder + ShootDataFile::FileName(gun);
}

void CShootControlUI::InitShootPanel() {
    ShootDataFile::SeedMissing(m_userFolder, m_defaultFolder);
    for (int gun = 0; gun < ShootDataFile::kGunCount; ++gun) {
        m_guns[static_cast<size_t>(gun)] =
            ShootDataFile::Load(GunPath(m_userFolder, gun)).value_or(std::vector<MacroEvent>{});
    }
    ShowBullet();
}

void CShootControlUI::SelectGun(int n) {
    m_gun = (n >= 0 && n < ShootDataFile::kGunCount) ? n : 0;
    for (int i = 0; i < ShootDataFile::kGunCount; ++i) {
        if (auto* option = FindNamed<DuiLib::COptionUI>(this, IndexedName(kGunPrefix, i).view())) {
            option->Selected(i == m_gun, false);
        }
    }
    ShowBullet();
}

void CShootControlUI::SelectBullet(int n) {
    m_bullet = (n >= 0 && n < kBulletsPerPage) ? n : 0;
    for (int i = 0; i < kBulletsPerPage; ++i) {
        if (auto* option =
                FindNamed<DuiLib::COptionUI>(this, IndexedName(kBulletPrefix, i).view())) {
            option->Selected(i == m_bullet, false);
            option->SetText(std::to_wstring(m_page * kBulletsPerPage + i + 1).c_str());
        }
    }
    ShowBullet();
}

void CShootControlUI::StepBullets(bool next) {
    m_page = std::clamp(m_page + (next ? 1 : -1), 0, kPageCount - 1);
    SelectBullet(m_bullet);
}

ShootBullet CShootControlUI::GetBulletValues() const {
    return BulletFromEvents(m_guns[static_cast<size_t>(m_gun)], GetBullet());
}

void CShootControlUI::ShowBullet(bool withAxes) {
    const ShootBullet bullet = GetBulletValues();
    const std::pair<const wchar_t*, int> edits[] = {
        {kXEdit, bullet.x}, {kYEdit, bullet.y}, {kDelayEdit, bullet.delay}};
    for (const auto& [name, value] : edits) {
        if (auto* edit = FindNamed<DuiLib::CEditUI>(this, name)) {
            edit->SetText(std::to_wstring(value).c_str());
        }
    }
    if (!withAxes) {
        return;  // the person's ticks stay as they set them while editing this bullet
    }
    // An axis counts only while ticked: one left unticked under a move the bullet has would
    // wipe that move at the next edit of the bullet.
    const std::pair<const wchar_t*, int> axes[] = {{kXCheck, bullet.x}, {kYCheck, bullet.y}};
    for (const auto& [name, value] : axes) {
        if (auto* check = FindNamed<DuiLib::COptionUI>(this, name)) {
            check->Selected(value != 0, false);
        }
    }
}

int CShootControlUI::EditNumber(const wchar_t* name, int low, int high) const {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, name);
    if (edit == nullptr) {
        return 0;
    }
    const long value = std::wcstol(edit->GetText().GetData(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, low, high));
}

void CShootControlUI::ApplyBulletEdits() {
    auto checked = [&](const wchar_t* name) {
        auto* check = FindNamed<DuiLib::COptionUI>(this, name);
        return check == nullptr || check->IsSelected();
    };
    ShootBullet bullet;
    bullet.x = checked(kXCheck) ? EditNumber(kXEdit, -128, 127) : 0;
    bullet.y = checked(kYCheck) ? EditNumber(kYEdit, -128, 127) : 0;
    bullet.delay = EditNumber(kDelayEdit, 0, static_cast<int>(kMaxMacroDelay));
    StoreBullet(&m_guns[static_cast<size_t>(m_gun)], GetBullet(), bullet);
    m_edited[static_cast<size_t>(m_gun)] = true;
    ShowBullet(false);
}

bool CShootControlUI::SaveGun(int gun) {
    const std::string path = GunPath(m_userFolder, gun);
    const auto at = static_cast<size_t>(gun);
    if (path.empty() || !ShootDataFile::Save(path, m_guns[at])) {
        return false;
    }
    m_edited[at] = false;
    return true;
}

int CShootControlUI::SaveShootData() {
    m_edited[static_cast<size_t>(m_gun)] = true;
    bool saved = true;
    for (int gun = 0; gun < ShootDataFile::kGunCount; ++gun) {
        if (m_edited[static_cast<size_t>(gun)]) {
            saved = SaveGun(gun) && saved;
        }
    }
    return saved ? 1 : 0;
}

int CShootControlUI::ResetShootData() {
    const auto events = ShootDataFile::Load(GunPath(m_defaultFolder, m_gun));
    if (!events) {
        return 0;
    }
    m_guns[static_cast<size_t>(m_gun)] = *events;
    ShowBullet();
    return SaveShootData();
}

int CShootControlUI::ImportShootData(DuiLib::CDuiString path) {
    const auto events =
        ShootDataFile::Load(platform::NormalizePath(path.ToUtf8()), FileRole::Imported);
    if (!events) {
        return 0;
    }
    m_guns[static_cast<size_t>(m_gun)] = *events;
    ShowBullet();
    return SaveShootData();
}

int CShootControlUI::ExportShootData(DuiLib::CDuiString path) const {
    return ShootDataFile::Save(platform::NormalizePath(path.ToUtf8()),
                               m_guns[static_cast<size_t>(m_gun)])
               ? 1
               : 0;
}
