#pragma once
// The mouse's stored settings: the shared sections plus its DPI stages ("DPIStages"),
// pointer and wheel settings ("SystemStages"), report rate ("ReportStages") and sensor
// correction entries ("CorrectInfo"). Some keys are misspelt; the files keep them so.

#include <cstdint>
#include <vector>

#include "duilib/dui_string.h"
#include "profile/basic_profiledata.h"

// One DPI stage, laid out as in the mouse's settings block.
#pragma pack(push, 1)
struct DpiStageRecord {
    uint8_t enabled = 0;
    uint8_t separateXY = 0;
    uint8_t dpiX[2] = {0, 0};  // little-endian
    uint8_t dpiY[2] = {0, 0};  // little-endian
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    uint16_t DpiX() const { return static_cast<uint16_t>(dpiX[0] | dpiX[1] << 8); }
    uint16_t DpiY() const { return static_cast<uint16_t>(dpiY[0] | dpiY[1] << 8); }
    void SetDpiX(uint16_t value);
    void SetDpiY(uint16_t value);

    friend bool operator==(const DpiStageRecord&, const DpiStageRecord&) = default;
};
#pragma pack(pop)

static_assert(sizeof(DpiStageRecord) == 9);

struct MouseSystemStages {
    uint16_t doubleClickTime = 0;
    uint16_t mouseSpeed = 0;
    uint16_t pointerPrecision = 0;
    uint16_t scrollPage = 0;
    uint16_t wheelScrollLines = 0;
    // "ReportStages"["StageActive"]
    uint16_t reportRate = 0;

    friend bool operator==(const MouseSystemStages&, const MouseSystemStages&) = default;
};

struct CorrectionEntry {
    uint8_t pixelThreshold = 0;
    uint8_t minimumSquare = 0;
    uint8_t selected = 0;
    DuiLib::CDuiString name;

    friend bool operator==(const CorrectionEntry&, const CorrectionEntry&) = default;
};

class CMouseProfiledata : public CBasicProfiledata {
  public:
    // The stages the file lists, as many as it lists: the profile's stage count. Without
    // "DPIStages" (or without its list of stages) the kept stages stay, and without
    // "DPIStages" the current stage too.
    std::vector<DpiStageRecord> GetDpiStages();
    // Writes every stage, and no more; the current stage is written by SetCurrentDpiStage
    // only.
    void SetDpiStages(std::vector<DpiStageRecord> stages);
    int GetCurrentDpiStage() const { return currentDpiStage_; }
    void SetCurrentDpiStage(int stage);
    void SetSystemStages(MouseSystemStages stages);
    MouseSystemStages GetSystemStages();
    std::vector<CorrectionEntry> GetCorrectInfo();

  private:
    std::vector<DpiStageRecord> dpiStages_;
    int currentDpiStage_ = 0;
    MouseSystemStages systemStages_;
    std::vector<CorrectionEntry> correctionEntries_;
};
