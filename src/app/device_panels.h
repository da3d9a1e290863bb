#pragma once
// The panels a device page holds, found by their kind under the page; null when the page
// has none (or for a device without key panels, in the key-panel lookups).

class CVornalixUSBDevice;
class CLightControlUI;
class CKeySetControlUI;
class CMacroControlUI;
class CDeviceProfileUI;
class CShootControlUI;
class CVoiceTamselControlUI;
class CMagicControlUI;

CLightControlUI* LightPanelOf(CVornalixUSBDevice* device);
CKeySetControlUI* KeySetPanelOf(CVornalixUSBDevice* device);
CMacroControlUI* MacroPanelOf(CVornalixUSBDevice* device);
CDeviceProfileUI* ProfilePanelOf(CVornalixUSBDevice* device);
CShootControlUI* ShootPanelOf(CVornalixUSBDevice* device);
