#pragma once
// The profile list panel of a device page: the profile combo, the rename edit, the button
// of the profile menu and the function tabs the device kind offers. Profiles live in the
// device's per-user folder (ProfileStore); the selected profile's id names the profile
// file the device loads.

#include <vector>

#include "duilib/ui_layouts.h"
#include "pages/profile_store.h"

class CDeviceProfileUI : public DuiLib::CVerticalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"DeviceProfile";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetDeviceKind(int kind);
    int GetDeviceKind() const { return m_kind; }
    void SetPaths(DuiLib::CDuiString folder, DuiLib::CDuiString defaultFile);
    // Reads the list (creating a first profile from the default file when it is empty),
    // fills the combo, selects the stored selection and shows the kind's function tabs.
    void LoadProfileList();
    // Selects tab n (1 lighting .. 8 virtual surround) alone; other n select none.
    void SelectFunctionTab(int n);
    // The function tabs this device kind shows.
    static std::vector<int> AllowedFunctionTabs(int kind);

    DuiLib::CDuiString GetSelectedProfileUUID() const;
    int GetSelectedProfileIndex() const { return m_store.SelectedIndex(); }
    int GetProfileCount() const { return static_cast<int>(m_store.Entries().size()); }
    DuiLib::CDuiString GetProfileName(int index) const;

    // Profile operations; 1 done, 0 refused or failed (the list and files are unchanged);
    // an import of another kind's profile gives ProfileStore::kOtherKind.
    int AddProfile();
    int DeleteProfile();
    int CopyProfile();
    int RenameProfile(DuiLib::CDuiString name);
    int ImportProfile(DuiLib::CDuiString path);
    int ExportProfile(DuiLib::CDuiString path);
    int ResetProfile();
    int SelectProfile(int index);
    // The profile the user chose in the combo.
    int SelectComboProfile();
    // What the user typed as the new name.
    DuiLib::CDuiString GetEditedName() const;

  private:
    void FillCombo();
    void ShowAllowedTabs();

    int m_kind = 0;
    ProfileStore m_store;
};
