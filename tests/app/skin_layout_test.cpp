// The skin holds every control, class and user data that the program looks up, every
// image it names and every language key it shows.

#include <gtest/gtest.h>

#include <json/json.h>
#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

std::string SkinFolder() {
    return platform::InstancePath() + "skin/";
}

// Composite panels: the element name in a page and the layout it is built from.
const std::map<std::string, std::string> kComposites = {
    {"DeviceProfileUI", "XML/CustomControlXML/DeviceProfile.xml"},
    {"LightSetControlUI", "XML/CustomControlXML/LightControl.xml"},
    {"VoiceTamselSetControlUI", "XML/CustomControlXML/VoiceTamselControl.xml"},
    {"MagicSetControlUI", "XML/CustomControlXML/MagicControl.xml"},
    {"KeySetControlUI", "XML/CustomControlXML/KeySetControl.xml"},
    {"MacroSetControlUI", "XML/CustomControlXML/MacroControl.xml"},
    {"ShootKeySetControlUI", "XML/CustomControlXML/ShootControl.xml"},
    {"VirtualSetControlUI", "XML/CustomControlXML/VirtualSet.xml"},
};

struct Node {
    std::string cls;
    std::string name;
    std::string userData;
    const Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
};

// A layout as the builder makes it: the first control under <Window>, composites expanded
// (the page's element gives the name, the composite's root the class).
class Layout {
  public:
    explicit Layout(const std::string& file) { root_ = Load(file, "", nullptr); }

    const Node* Root() const { return root_.get(); }

    std::vector<const Node*> All() const {
        std::vector<const Node*> out;
        std::function<void(const Node*)> walk = [&](const Node* n) {
            out.push_back(n);
            for (const auto& c : n->children) {
                walk(c.get());
            }
        };
        if (root_) {
            walk(root_.get());
        }
        return out;
    }

    const Node* Find(const std::string& name) const {
        for (const Node* n : All()) {
            if (strcasecmp(n->name.c_str(), name.c_str()) == 0) {
                return n;
            }
        }
        return nullptr;
    }

    std::string error;

  private:
    std::unique_ptr<Node> Load(const std::string& file, const std::string& nameOverride,
                               const Node* parent) {
        pugi::xml_document doc;
        if (!doc.load_file((SkinFolder() + file).c_str())) {
            error += "cannot load " + file + "; ";
            return nullptr;
        }
        pugi::xml_node first = doc.child("Window").first_child();
        while (first &&
               (std::string(first.name()) == "Font" || std::string(first.name()) == "Default")) {
            first = first.next_sibling();
        }
        if (!first) {
            error += "no control in " + file + "; ";
            return nullptr;
        }
        auto node = Build(first, parent);
        if (node && !nameOverride.empty()) {
            node->name = nameOverride;
        }
        return node;
    }

    std::unique_ptr<Node> Build(pugi::xml_node xml, const Node* parent) {
        auto composite = kComposites.find(xml.name());
        if (composite != kComposites.end()) {
            return Load(composite->second, xml.attribute("name").value(), parent);
        }
        auto node = std::make_unique<Node>();
        node->cls = xml.name();
        node->name = xml.attribute("name").value();
        node->userData = xml.attribute("userdata").value();
        node->parent = parent;
        for (pugi::xml_node child : xml.children()) {
            if (auto built = Build(child, node.get())) {
                node->children.push_back(std::move(built));
            }
        }
        return node;
    }

    std::unique_ptr<Node> root_;
};

std::vector<std::string> Indexed(const std::string& prefix, int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) {
        out.push_back(prefix + std::to_string(i));
    }
    return out;
}

void ExpectNames(const Layout& layout, const std::vector<std::string>& names,
                 const std::string& where) {
    for (const auto& name : names) {
        EXPECT_NE(layout.Find(name), nullptr) << "missing control \"" << name << "\" in " << where;
    }
}

void ExpectClass(const Layout& layout, const std::string& name, const std::string& cls,
                 const std::string& where) {
    const Node* n = layout.Find(name);
    ASSERT_NE(n, nullptr) << "missing control \"" << name << "\" in " << where;
    EXPECT_EQ(n->cls, cls) << "class of \"" << name << "\" in " << where;
}

// Key and LED buttons: class DeviceKeyButton, children of the named container.
void ExpectButtons(const Layout& layout, const std::string& container,
                   const std::string& namePrefix, int keys, const std::string& userPrefix, int leds,
                   const std::string& where) {
    const Node* panel = layout.Find(container);
    ASSERT_NE(panel, nullptr) << "missing container \"" << container << "\" in " << where;
    std::set<std::string> names, userData;
    for (const auto& child : panel->children) {
        if (child->cls == "DeviceKeyButton") {
            names.insert(child->name);
            userData.insert(child->userData);
        }
    }
    for (const auto& name : Indexed(namePrefix, 0, keys - 1)) {
        EXPECT_TRUE(names.count(name)) << "missing key button \"" << name << "\" in " << container;
    }
    for (const auto& data : Indexed(userPrefix, 0, leds - 1)) {
        EXPECT_TRUE(userData.count(data) || names.count(data))
            << "missing LED \"" << data << "\" in " << container;
    }
    EXPECT_FALSE(names.count(namePrefix + std::to_string(keys))) << "extra key in " << container;
}

const std::vector<std::string> kProfileNames = {"device_profile_combo",
                                                "device_profile_edit_save_btn",
                                                "profile_fun_spread_btn",
                                                "default_btn",
                                                "deng_Op_tab",
                                                "key_Op_tab",
                                                "macro_Op_tab",
                                                "system_Op_tab",
                                                "cursor_Op_tab",
                                                "Tamsel_voice_Op_tab",
                                                "magic_Op_tab",
                                                "Virtual7.1_Op_tab"};
const std::vector<std::string> kLightNames = {"light_combo_modeSelect",
                                              "light_combo_custommodeSelect",
                                              "light_combo_QRVMmodeSelect",
                                              "deng_light_slider",
                                              "deng_speed_slider",
                                              "deng_Color_Pallet",
                                              "deng_edit_R",
                                              "deng_edit_G",
                                              "deng_edit_B",
                                              "deng_7color_check",
                                              "deng_FXL_check",
                                              "deng_FXR_check",
                                              "deng_same_mode",
                                              "custom_bright_color_btn",
                                              "custom_off_color_btn",
                                              "color_option_0"};
const std::vector<std::string> kKeySetNames = {"keyset_function_combo",
                                               "keyset_mousekey_combo",
                                               "keyset_mouseswing_combo",
                                               "keyset_mousewheel_combo",
                                               "keyset_mousedpi_combo",
                                               "keyset_media_combo",
                                               "keyset_system_combo",
                                               "keyset_macro_combo",
                                               "keyset_macro_over_combo",
                                               "keyset_gunkey_combo",
                                               "keyset_combokey_combo",
                                               "keyset_keyboard_text_edit",
                                               "keyset_mouseswing_num_edit",
                                               "keyset_mouseswing_delay_edit",
                                               "keyset_mouseswing_speed_edit",
                                               "keyset_mousewheel_num_edit",
                                               "keyset_mousewheel_delay_edit",
                                               "keyset_mousewheel_speed_edit",
                                               "keyset_mousefire_interval_edit",
                                               "keyset_mousefire_num_edit",
                                               "keyset_macro_cycle_edit",
                                               "key_ComBox_check_0",
                                               "key_butt_keysave",
                                               "key_butt_keydefalut",
                                               "key_butt_keycancel",
                                               "key_butt_prosave"};
const std::vector<std::string> kMacroNames = {"macro_name_list",
                                              "macro_action",
                                              "macro_btn_starredio",
                                              "macro_btn_stopredio",
                                              "macro_btn_name_add",
                                              "macro_btn_name_sub",
                                              "macro_btn_name_edit",
                                              "macro_btn_save",
                                              "macro_btn_cancel",
                                              "macro_btn_export",
                                              "macro_btn_import",
                                              "macro_btn_up",
                                              "macro_btn_down",
                                              "macro_btn_uptop",
                                              "macro_btn_downbottom",
                                              "macro_btn_delete",
                                              "macro_btn_deleteall",
                                              "macro_delay",
                                              "macro_inset_moveleftkey_btn",
                                              "macro_inset_moverightkey_btn",
                                              "macro_inset_moveupkey_btn",
                                              "macro_inset_movedownkey_btn"};
const std::vector<std::string> kShootNames = {
    "shoot_gun_op_0",       "shoot_gun_op_3",      "bullet_op_0",        "bullet_selected_prev",
    "bullet_selected_next", "bullet_x_eidt",       "bullet_y_eidt",      "bullet_delay_eidt",
    "bullet_x_check",       "bullet_y_check",      "shootdate_save_btn", "shootdate_reset_btn",
    "shootdate_import_btn", "shootdate_export_btn"};

void ExpectPageBasics(const Layout& page, const std::string& cls, const std::string& where) {
    ASSERT_TRUE(page.error.empty()) << page.error;
    ASSERT_NE(page.Root(), nullptr);
    EXPECT_EQ(page.Root()->cls, cls);
    ExpectNames(page,
                {"DeviceProfileItem", "LightControlItem", "device_function_switch",
                 "device_key_function_switch", "text_test"},
                where);
    ExpectClass(page, "device_function_switch", "TabLayout", where);
    ExpectClass(page, "device_key_function_switch", "TabLayout", where);
    ExpectClass(page, "DeviceProfileItem", "DeviceProfile", where);
    ExpectClass(page, "LightControlItem", "LightControl", where);
    ExpectNames(page, kProfileNames, where);
    ExpectNames(page, kLightNames, where);
}

TEST(SkinLayoutTest, MainWindowHoldsTheDeviceListPagesPowerItemsAndCaption) {
    Layout main("main.xml");
    ASSERT_TRUE(main.error.empty()) << main.error;
    ExpectNames(main,
                {"root", "device_select_layout", "No_device_Link", "closebtn", "maxbtn",
                 "restorebtn", "minbtn", "skinbtn", "setbtn", "control_light_status",
                 "nodevice_ok_btn", "device_select_prev", "device_select_next", "setting_progress"},
                "main.xml");
    ExpectClass(main, "device_switch", "TabLayout", "main.xml");
    ExpectClass(main, "device_power_switch", "TabLayout", "main.xml");

    Layout entry("XML/CustomControlXML/DeviceOption.xml");
    ASSERT_NE(entry.Root(), nullptr) << entry.error;
    EXPECT_EQ(entry.Root()->cls, "CDeviceOptionUI");
    ExpectClass(entry, "device_select", "Option", "DeviceOption.xml");
    ExpectClass(entry, "device_select_name", "Label", "DeviceOption.xml");

    Layout power("XML/CustomControlXML/MpDevicePower.xml");
    ASSERT_NE(power.Root(), nullptr) << power.error;
    EXPECT_EQ(power.Root()->cls, "CMpDevicePowerUI");
    ExpectNames(power,
                {"device_power_Layout", "device_power_value", "device_wuxian_logo",
                 "device_power_status", "device_phone_type"},
                "MpDevicePower.xml");
    ExpectClass(power, "device_Power_progress", "Progress", "MpDevicePower.xml");
}

TEST(SkinLayoutTest, KeyboardPageHoldsItsKeysPanelsAndSystemSettings) {
    Layout page("XML/DeviceXml/keyboarddevice.xml");
    ExpectPageBasics(page, "VornalixKeyboardDevice", "keyboarddevice.xml");
    ExpectClass(page, "keyboard_device_key_light", "SelectPanel", "keyboarddevice.xml");
    EXPECT_EQ(page.Find("keyboard_device_key_light")->parent, page.Root())
        << "the select panel is a direct child";
    // The keys the keyboard has: each names its layout position n as "key_" n and lights
    // as LED n ("light_" n).
    int keys = 0;
    for (const auto& child : page.Find("keyboard_device_key_light")->children) {
        if (child->cls != "DeviceKeyButton") {
            continue;
        }
        ASSERT_TRUE(child->name.starts_with("key_")) << child->name;
        const int n = std::stoi(child->name.substr(4));
        EXPECT_TRUE(n >= 0 && n < 126) << child->name;
        EXPECT_EQ(child->userData, "light_" + std::to_string(n));
        ++keys;
    }
    EXPECT_GE(keys, 104) << "a full-size keyboard's keys at least";
    ExpectClass(page, "MacroControlItem", "MacroControl", "keyboarddevice.xml");
    ExpectClass(page, "KeySetControlItem", "KeySetControl", "keyboarddevice.xml");
    ExpectNames(page, kKeySetNames, "keyboarddevice.xml");
    ExpectNames(page, kMacroNames, "keyboarddevice.xml");
    ExpectNames(page, Indexed("polling_rate_option_", 0, 3), "keyboarddevice.xml");
    ExpectNames(page, Indexed("repeat_delay_check_", 0, 3), "keyboarddevice.xml");
    ExpectNames(page,
                {"winlockflag_option", "wflag_option", "6flag_option", "repeat_rate_slider",
                 "repeat_delay_time_label1", "reset_repeat_btn", "windowdeviceset_0"},
                "keyboarddevice.xml");
    ExpectClass(page, "repeat_input_richedit", "RichEdit", "keyboarddevice.xml");
}

TEST(SkinLayoutTest, MousePageHoldsItsButtonsDpiStagesAndPointerSettings) {
    Layout page("XML/DeviceXml/mousedevice.xml");
    ExpectPageBasics(page, "VornalixMouseDevice", "mousedevice.xml");
    ExpectClass(page, "mouse_device_seting_layout", "TabLayout", "mousedevice.xml");
    std::set<std::string> buttons, userData;
    for (const auto& panel : page.Find("mouse_device_seting_layout")->children) {
        if (panel->cls != "SelectPanel") {
            continue;
        }
        for (const auto& b : panel->children) {
            if (b->cls == "DeviceKeyButton") {
                buttons.insert(b->name);
                userData.insert(b->userData);
            }
        }
    }
    for (const auto& name : Indexed("key_", 0, 6)) {
        EXPECT_TRUE(buttons.count(name)) << "missing mouse key \"" << name << "\"";
    }
    for (const auto& name : Indexed("light_0_", 0, 5)) {
        EXPECT_TRUE(buttons.count(name)) << "missing mouse LED button \"" << name << "\"";
    }
    for (const auto& data : Indexed("light_", 0, 5)) {
        EXPECT_TRUE(userData.count(data)) << "missing LED user data \"" << data << "\"";
    }
    EXPECT_TRUE(buttons.count("logo"));
    ExpectClass(page, "mouse_device_key_light", "SelectPanel", "mousedevice.xml");
    ExpectNames(page, Indexed("mouse_device_seting_option_", 0, 1), "mousedevice.xml");
    for (const char* prefix :
         {"DPI_layout_", "DPI_enable_check_", "DPI_slider_", "DPI_edit_", "polling_rate_option_"}) {
        ExpectNames(page, Indexed(prefix, 0, 4), "mousedevice.xml");
    }
    ExpectNames(page,
                {"mouse_option_layout", "pointer_speed_slider", "pointer_precision_check",
                 "scrolls_page_check", "scroll_speed_slider", "double_click_slider",
                 "device_tishi_info", "windowdeviceset_1"},
                "mousedevice.xml");
    ExpectClass(page, "device_setkeyinfo_list", "List", "mousedevice.xml");
    ExpectClass(page, "ShootControlItem", "ShootControl", "mousedevice.xml");
    ExpectNames(page, kShootNames, "mousedevice.xml");
    ExpectNames(page, kKeySetNames, "mousedevice.xml");
    ExpectNames(page, kMacroNames, "mousedevice.xml");
}

TEST(SkinLayoutTest, MousePadAndHeadsetPagesHoldTheirLedsAndAudioPanels) {
    Layout pad("XML/DeviceXml/mousepaddevice.xml");
    ExpectPageBasics(pad, "VornalixMousePadDevice", "mousepaddevice.xml");
    ExpectButtons(pad, "mousepad_device_key_light", "light_", 15, "light_", 15,
                  "mousepaddevice.xml");

    Layout headset("XML/DeviceXml/tamseldevice.xml");
    ExpectPageBasics(headset, "VornalixTamselDevice", "tamseldevice.xml");
    ExpectButtons(headset, "tamsel_device_key_light", "light_", 13, "light_", 13,
                  "tamseldevice.xml");
    ExpectClass(headset, "MagicControlItem", "MagicControl", "tamseldevice.xml");
    ExpectClass(headset, "VoiceTamselControlItem", "VoiceTamselControl", "tamseldevice.xml");
    ExpectNames(
        headset,
        {"magic_enable_option", "magic_option_layout", "Tamsel_MicIn_option",
         "Tamsel_MicMoniter_option", "Tamsel_MicIn_slider", "Tamsel_MicMoniter_slider",
         "custom_eq_name_edit", "custom_eq_name_combo", "hs_EQ_btn_save", "hs_EQ_btn_delete"},
        "tamseldevice.xml");
    ExpectNames(headset, Indexed("magic_option_", 1, 4), "tamseldevice.xml");
    ExpectNames(headset, Indexed("Tamsel_eq_option_", 1, 13), "tamseldevice.xml");
    ExpectNames(headset, Indexed("Tamsel_eq_hz_slider_", 0, 9), "tamseldevice.xml");
}

TEST(SkinLayoutTest, SmallWindowsAndMenusHoldWhatTheirCodeFinds) {
    struct Expect {
        const char* file;
        std::vector<std::string> names;
    };
    const std::vector<Expect> expects = {
        {"msgwnd.xml", {"MessageTitle", "MessageText", "confirm_btn", "cancel_btn"}},
        {"setwnd.xml", {"Language_combox_info", "closebtn"}},
        {"AboutWnd.xml",
         {"closebtn", "maxbtn", "restorebtn", "minbtn", "software_ver_label", "text_test"}},
        {"skin.xml",
         {"skin_tab", "skin_image", "skin_color", "skin_reset", "skin_Custom", "skin_image_btn",
          "skin_color_btn"}},
        {"menu.xml", {"setwnd_menu", "about_menu", "exit"}},
        {"XML/Menus/profile_menu.xml",
         {"device_add_btn", "device_sub_btn", "device_export_btn", "device_import_btn",
          "device_copy_btn", "device_reset_btn"}},
        {"XML/Menus/macro_action_menu.xml",
         {"redio_previous_record_time",
          "redio_previous_constant_time",
          "redio_previous_ignore_time",
          "redio_later_record_time",
          "redio_later_constant_time",
          "redio_later_ignore_time",
          "left_down",
          "left_up",
          "left_click",
          "middle_down",
          "middle_up",
          "middle_click",
          "right_down",
          "right_up",
          "right_click",
          "forward_down",
          "forward_up",
          "forward_click",
          "back_down",
          "back_up",
          "back_click",
          "macro_action_edit"}},
    };
    for (const auto& expect : expects) {
        Layout layout(expect.file);
        ASSERT_TRUE(layout.error.empty()) << layout.error;
        ExpectNames(layout, expect.names, expect.file);
    }
    Layout picker("skin.xml");
    for (const Node* n : picker.All()) {
        if (n->name == "skin_image_btn") {
            EXPECT_TRUE(fs::exists(SkinFolder() + n->userData)) << "skin image " << n->userData;
        }
    }
}

TEST(SkinLayoutTest, ImagesTheCodeNamesExist) {
    std::vector<std::string> images = {"common/background.png", "Control/SliderBar_BK1.png",
                                       "Control/SliderBar_BK3.png", "Control/SliderBar1_Thumb.png",
                                       "Control/SliderBar2_Thumb.png"};
    for (const char* stem : {"unknow", "kb", "ms", "hard_mp", "soft_mp", "hd", "hub"}) {
        for (const char* state : {"_device_normal.png", "_device_selected.png",
                                  "_device_synchro_normal.png", "_device_synchro_selected.png"}) {
            images.push_back(std::string("common/device_ico/") + stem + state);
        }
    }
    for (const char* power :
         {"powered", "wuxian_powering", "powering", "power", "Phone_type_iphone",
          "Phone_type_samsung", "Phone_type_other", "Phone_type_no_device"}) {
        images.push_back(std::string("power/") + power + ".png");
    }
    for (const auto& image : images) {
        EXPECT_TRUE(fs::exists(SkinFolder() + image)) << "missing image " << image;
    }
}

std::set<std::string> LanguageKeys(const std::string& file) {
    std::set<std::string> keys;
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((SkinFolder() + file).c_str())) << file;
    for (pugi::xml_node text : doc.child("Language").children("Text")) {
        keys.insert(text.attribute("key").value());
    }
    return keys;
}

TEST(SkinLayoutTest, EveryShownKeyIsTranslatedInEveryLanguage) {
    std::set<std::string> used = {
        "message_text_5",        "message_text_6",       "message_text_7",
        "message_text_16",       "message_text_22",      "message_text_25",
        "software_rev_text",     "close_text",           "Key_Set",
        "Repeat_Delay_Time",     "Repeat_input_text",    "Light_Set",
        "Overall_Light_Set",     "Phone_type_iphone",    "Phone_type_samsung",
        "Phone_type_other",      "Phone_type_no_device", "mouse_key_left_Swing",
        "mouse_key_right_Swing", "mouse_key_up_Swing",   "mouse_key_down_Swing",
        "mouse_key_fire_key"};
    for (const char* stem : {"unknow", "kb", "ms", "hard_mp", "soft_mp", "hd", "hub"}) {
        used.insert(std::string(stem) + "_device_name_text");
    }
    for (const auto& entry : fs::recursive_directory_iterator(SkinFolder())) {
        if (entry.path().extension() != ".xml" ||
            entry.path().filename().string().rfind("lan_", 0) == 0) {
            continue;
        }
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file(entry.path().c_str())) << entry.path();
        for (pugi::xpath_node node : doc.select_nodes("//*[@resourcetext='true']")) {
            for (const char* attribute : {"text", "tooltip"}) {
                std::string key = node.node().attribute(attribute).value();
                if (!key.empty()) {
                    used.insert(key);
                }
            }
        }
    }
    // The built-in light modes are named by language keys too.
    Json::Value lights;
    std::ifstream lightFile(platform::InstancePath() + "DefaultData/default_light.json");
    ASSERT_TRUE(Json::Reader().parse(lightFile, lights));
    for (const char* list : {"DefaultLightName", "AreaLightName"}) {
        for (const Json::Value& device : lights[list]) {
            for (const Json::Value& mode : device) {
                used.insert(mode["LightName"].asString());
            }
        }
    }
    for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
        const std::set<std::string> keys = LanguageKeys(file);
        for (const auto& key : used) {
            EXPECT_TRUE(keys.count(key)) << "language key \"" << key << "\" missing in " << file;
        }
    }
}

}  // namespace
