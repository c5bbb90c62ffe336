#pragma once

#include "core/ButtonFunction.h"
#include "core/DpiStage.h"
#include "core/KeyRecord.h"
#include "core/MacroBlock.h"

struct FlashDataMap;

// One setter per field or record of the live device image. Each asks the
// device library whether the current device answers; when it does, the setter
// writes its bytes into LiveFlashData, hands the whole image to the device and
// returns true. When it does not, the image stays as it is, the top window is
// asked to show the offline notice (SigMouseOffLineo(0), not while a page is
// filling its widgets) and the setter returns false. A button index outside
// 0-15 or a stage index outside 0-7 is refused (false, nothing written, no
// signal). A write that the library reports as failed returns false and
// gives the changed bytes of the live image their old values back.
// Integer values are stored as their low 8 bits. GUI thread.

// Only the online check and the offline notice.
bool CheckDeviceOnline();

bool SetReportRate(int code);                  // 0x00: 8, 4, 2, 1, 16, 32, 64
bool SetDpiStageCount(int count);              // 0x01
bool SetCurrentDpiStage(int stage);            // 0x02
bool SetParamByte03(int value);                // 0x03
bool SetParamByte04(int value);                // 0x04
bool SetLiftOffDistance(int code);             // 0x05: 1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm
bool SetDebounceTime(int index);               // 0x06
bool SetMotionSync(int on);                    // 0x07
bool SetLightOffTime(int tensOfSeconds);       // 0x08
bool SetAngleSnapping(int on);                 // 0x09
bool SetRippleControl(int on);                 // 0x0A
bool SetMoveLightOff(int on);                  // 0x0B
bool SetPerformanceMode(int on);               // 0x0C
bool SetSleepTime(int tensOfSeconds);          // 0x0D
bool SetSensorMode(int index);                 // 0x0E

// Value codes (bytes 0-2) and colour (bytes 3-5) of one DPI stage.
bool SetDpiStageValue(int stage, int x, int y, int bits);
bool SetDpiStageColor(int stage, int red, int green, int blue);
// Stage indexA becomes a and stage indexB becomes b; current is the current
// stage and current + 1 the number of stages.
bool SetDpiStages(const DpiStage& a, const DpiStage& b, int indexB, int indexA, int current);

// DPI indicator: a mode other than 0 sets it (0x3F) and switches the light on
// (0x42 = 1); mode 0 only switches it off and keeps the mode.
bool SetDpiLightMode(int mode);
bool SetDpiLightBrightness(int value);         // 0x40
bool SetDpiLightSpeed(int value);              // 0x41

// Light bar, the same way: 0x43 the mode, 0x49 on.
bool SetLightMode(int mode);
bool SetLightColor(int red, int green, int blue);   // 0x44-0x46
bool SetLightSpeed(int value);                 // 0x47
bool SetLightBrightness(int value);            // 0x48

// The function record of a mouse button, with its key record or macro block.
bool SetButtonKey(int button, int type, int value1, int value2);
bool SetButtonKeyData(int button, const ButtonFunction& function, const KeyRecord& keys);
bool SetButtonMacro(int button, const ButtonFunction& function, const MacroBlock& macro);

// A whole configuration (an imported file) for the current device: once the
// device has taken it, it replaces the live image, which then counts as the
// device's own configuration. When the device does not answer, or does not
// take the image, the live image stays as it is, the offline notice is asked
// for and the result is false.
bool SetWholeImage(const FlashDataMap& image);

// Hands the live image to the device without the online check; false when
// the live image is not the current device's own configuration (nothing is
// written) or the library reports the write as failed.
bool SendFlashData();
