#pragma once
// HID capability records and status codes in the shape the device code was written
// against. Our own definitions: the numeric status values follow the well-known HIDP
// convention (facility 0x11) so that traces and stored results read the same.

#include <cstdint>

using USAGE = uint16_t;
using HidpStatus = uint32_t;

inline constexpr HidpStatus HIDP_STATUS_SUCCESS = 0x00110000u;
inline constexpr HidpStatus HIDP_STATUS_NULL = 0x80110001u;
inline constexpr HidpStatus HIDP_STATUS_INVALID_PREPARSED_DATA = 0xC0110001u;
inline constexpr HidpStatus HIDP_STATUS_INVALID_REPORT_TYPE = 0xC0110002u;
inline constexpr HidpStatus HIDP_STATUS_INVALID_REPORT_LENGTH = 0xC0110003u;
inline constexpr HidpStatus HIDP_STATUS_USAGE_NOT_FOUND = 0xC0110004u;
inline constexpr HidpStatus HIDP_STATUS_VALUE_OUT_OF_RANGE = 0xC0110005u;
inline constexpr HidpStatus HIDP_STATUS_BAD_LOG_PHY_VALUES = 0xC0110006u;
inline constexpr HidpStatus HIDP_STATUS_BUFFER_TOO_SMALL = 0xC0110007u;
inline constexpr HidpStatus HIDP_STATUS_INTERNAL_ERROR = 0xC0110008u;
inline constexpr HidpStatus HIDP_STATUS_INCOMPATIBLE_REPORT_ID = 0xC011000Au;
inline constexpr HidpStatus HIDP_STATUS_REPORT_DOES_NOT_EXIST = 0xC0110010u;

enum HIDP_REPORT_TYPE : uint8_t { HidP_Input = 0, HidP_Output = 1, HidP_Feature = 2 };
inline constexpr int kHidReportTypeCount = 3;

struct HIDD_ATTRIBUTES {
    uint32_t Size = sizeof(HIDD_ATTRIBUTES);
    uint16_t VendorID = 0;
    uint16_t ProductID = 0;
    uint16_t VersionNumber = 0;
};

struct HIDP_CAPS {
    USAGE Usage = 0;
    USAGE UsagePage = 0;
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
    uint16_t NumberLinkCollectionNodes = 0;
    uint16_t NumberInputButtonCaps = 0;
    uint16_t NumberInputValueCaps = 0;
    uint16_t NumberInputDataIndices = 0;
    uint16_t NumberOutputButtonCaps = 0;
    uint16_t NumberOutputValueCaps = 0;
    uint16_t NumberOutputDataIndices = 0;
    uint16_t NumberFeatureButtonCaps = 0;
    uint16_t NumberFeatureValueCaps = 0;
    uint16_t NumberFeatureDataIndices = 0;
};

// A single usage is stored as a range of one: UsageMin == UsageMax and IsRange false.
struct HIDP_BUTTON_CAPS {
    USAGE UsagePage = 0;
    uint8_t ReportID = 0;
    bool IsAlias = false;
    uint16_t BitField = 0;
    uint16_t LinkCollection = 0;
    USAGE LinkUsage = 0;
    USAGE LinkUsagePage = 0;
    bool IsRange = false;
    bool IsAbsolute = false;
    USAGE UsageMin = 0;
    USAGE UsageMax = 0;
    uint16_t DataIndexMin = 0;
    uint16_t DataIndexMax = 0;
};

struct HIDP_VALUE_CAPS {
    USAGE UsagePage = 0;
    uint8_t ReportID = 0;
    bool IsAlias = false;
    uint16_t BitField = 0;
    uint16_t LinkCollection = 0;
    USAGE LinkUsage = 0;
    USAGE LinkUsagePage = 0;
    bool IsRange = false;
    bool IsAbsolute = false;
    bool HasNull = false;
    uint16_t BitSize = 0;
    uint16_t ReportCount = 0;
    uint32_t UnitsExp = 0;
    uint32_t Units = 0;
    int32_t LogicalMin = 0;
    int32_t LogicalMax = 0;
    int32_t PhysicalMin = 0;
    int32_t PhysicalMax = 0;
    USAGE UsageMin = 0;
    USAGE UsageMax = 0;
    uint16_t DataIndexMin = 0;
    uint16_t DataIndexMax = 0;
};
