/*
 * SimDevice: the control panel of the simulated receivers and mice behind
 * libDIVAza.so. Tests and demonstrations use it to change what the devices do;
 * the program itself never calls it.
 *
 * Devices are named by their scenario id ("mouse", "receiver" in the default
 * scenario) or by one of their paths. Functions return non-zero on success and
 * 0 for an unknown device or a bad argument. Every function may be called from
 * any thread, also from inside a library callback, except SimDevice_Reset and
 * SimDevice_LoadScenario..., which stop the library's threads and therefore
 * refuse (return 0) on one of them. Called on the application's thread, those
 * two serve its events while they wait for a library callback that is still
 * running (it may wait for that thread), so the callback ends before they
 * return.
 */
#ifndef SIMDEVICE_H
#define SIMDEVICE_H

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Scenario ---------------------------------------------------------------- */

/* Stops the library's threads (closing the device, dropping the change callback
 * and every pending answer), then rebuilds the devices from TALVIRE_DEVICES or
 * the default scenario, with default timing and no faults. */
int SimDevice_Reset(void);
/* The same with the devices described by a JSON text or file (devicelib/README.md).
 * A text that does not describe a valid scenario changes nothing and gives 0;
 * the reason is written to the standard error. */
int SimDevice_LoadScenario(const char* json);
int SimDevice_LoadScenarioFile(const char* fileName);

/* The path under which a device is found: the receiver's, or the mouse's on the
 * cable. Null for an unknown device. The text stays valid. */
const char* SimDevice_PathOf(const char* device);

/* ---- Plugging and power ---------------------------------------------------------- */

/* A receiver: in or out of its USB port. A mouse: its cable plugged or not (a
 * plugged cable charges the battery). A change notice follows each change. */
int SimDevice_Plug(const char* device, int plugged);
/* The mouse's power switch; a mouse on the cable stays reachable there. */
int SimDevice_SetPower(const char* mouse, int on);
/* A device in boot (upgrade) mode leaves the normal device list and is counted
 * by UsbUpgradeC_FindBootDevices. A change notice follows. */
int SimDevice_SetBootMode(const char* device, int on);
/* The firmware version (high byte major, low byte minor). */
int SimDevice_SetVersion(const char* device, int version);

/* ---- What the mouse does ---------------------------------------------------------- */

/* The DPI button: the current stage moves on (cyclically within the stage count)
 * and the mouse sends a status-change report (type 10, DPI flag). */
int SimDevice_PressDpiButton(const char* mouse);
/* Battery level 0-100 and charging; the mouse sends a status change (battery flag). */
int SimDevice_SetBattery(const char* mouse, int level, int charging);
/* The mouse sends a status-change report with these 7 flags (DPI, report rate,
 * configuration, DPI light, unused, light bar, battery). */
int SimDevice_SendStatusChange(const char* mouse, const unsigned char* flags);
/* The next `queries` UsbFinderC_GetDeviceInfo calls for this device answer ids 0. */
int SimDevice_SetIdsAfterQueries(const char* device, int queries);

/* ---- What the receiver does -------------------------------------------------------- */

/* Long range switched on the receiver itself; switching it off sends report 23. */
int SimDevice_SetLongRange(const char* receiver, int on);
/* Receiver light option 0-3 changed on the receiver itself; sends report 21. */
int SimDevice_SetReceiverLight(const char* receiver, int option);

/* Pairing: how the next and every later pairing attempt ends.
 * AUTO: success once a switched-on mouse of the asked customer id is there,
 *       failure at the time-out otherwise (the default);
 * SUCCEED: success after the pairing time with the first mouse of that customer
 *       id, switched on or not (failure when there is none);
 * FAIL: failure after the pairing time;
 * NO_ANSWER: no mouse answers; failure at the time-out. */
#define SIM_PAIR_AUTO 0
#define SIM_PAIR_SUCCEED 1
#define SIM_PAIR_FAIL 2
#define SIM_PAIR_NO_ANSWER 3
int SimDevice_SetPairingOutcome(int outcome);

/* ---- Timing and faults --------------------------------------------------------------- */

#define SIM_TIMING_ANSWER 0           /* every answer but the whole read (default 3 ms, see below) */
#define SIM_TIMING_WHOLE_READ 1       /* the whole configuration read (default 30 ms, see below) */
#define SIM_TIMING_PAIRING 2          /* until a pairing attempt can end (default 2500 ms) */
#define SIM_TIMING_PAIRING_TIMEOUT 3  /* until an unanswered attempt fails (default 30000 ms) */
#define SIM_TIMING_UPGRADE_STEP 4     /* between two upgrade progress reports (default 200 ms) */
#define SIM_TIMING_REPORT 5           /* one 64-byte report on the link (default 1 ms, see below) */
/* The link carries one report at a time each way: a write takes the report time
 * for each 64-byte report it moves, an answer for each report it fills (the
 * whole read 108) after the device's own answer time. Scenarios without a
 * "report" timing take TALVIRE_LINK_REPORT_MS from the environment when set
 * (the tests' environment sets 0), else 1 ms. Likewise an "answer" or
 * "wholeRead" timing that the scenario does not give is TALVIRE_LINK_ANSWER_MS
 * when set (one value for both; the tests' environment sets 0). */
int SimDevice_SetTiming(int which, int ms);

/* The next `count` answers to requests are lost; -1 loses all until 0 is set. */
int SimDevice_DropAnswers(int count);

/* The next ProtocolDataUpdate fails after `chunks` of the 64-byte reports it
 * moves have arrived (0: nothing arrives; all of them when it moves fewer,
 * also none: that write fails all the same, never a later one). A write that
 * fails for another reason (the mouse out of reach, or gone during the write)
 * uses the fault up as well.
 * The library then no longer knows what the device holds, and its next write
 * moves the whole block. -1 clears the fault. */
int SimDevice_FailNextWrite(int chunks);

/* The next upgrade (and only that one):
 * FAIL_AT: the device reports an error when the progress reaches `percent`;
 * STALL_AT: the device stops answering at `percent`; failure after the time limit;
 * REFUSE: UsbUpgrade_Start returns 0; one failure result follows, as after
 *         every refused start;
 * IMMEDIATE: the result (success) comes at once, before any progress;
 * SILENT: the start is taken and the device enters boot mode, then no report
 *         comes at all, neither progress nor result; the upgrade counts as
 *         running until the scenario is reset (`percent` is not used);
 * IN_CALL: as IMMEDIATE, but the result reaches the callback (on the upgrade
 *         thread) while UsbUpgrade_Start is still running: the call returns
 *         once the callback has. A caller that marks its upgrade only after
 *         the call misses the result. */
#define SIM_UPGRADE_NONE 0
#define SIM_UPGRADE_FAIL_AT 1
#define SIM_UPGRADE_STALL_AT 2
#define SIM_UPGRADE_REFUSE 3
#define SIM_UPGRADE_IMMEDIATE 4
#define SIM_UPGRADE_SILENT 5
#define SIM_UPGRADE_IN_CALL 6
int SimDevice_SetUpgradeFault(int fault, int percent);

/* ---- Reading back ------------------------------------------------------------------- */

/* Copies the mouse's stored 6912-byte device block of an onboard configuration
 * (-1: the current one); returns the number of bytes copied. */
int SimDevice_ReadDeviceBlock(const char* mouse, int configuration, unsigned char* block,
                              int length);
/* How many whole-image writes the mouse has taken. */
int SimDevice_WriteCount(const char* mouse);
/* How many 64-byte reports of writes have arrived at the mouse since its
 * scenario was loaded or the count was reset. ProtocolDataUpdate moves only the
 * reports of the block that differ from what the library last wrote or read
 * (per mouse and onboard configuration), and all of those it does not know;
 * the whole block is 108 reports. -1 for an unknown mouse. */
int SimDevice_ReportsMoved(const char* mouse);
int SimDevice_ResetReportsMoved(const char* mouse);
/* The mouse's current onboard configuration. */
int SimDevice_CurrentConfig(const char* mouse);
/* The battery-optimisation flag last set (0/1), -1 when never set. */
int SimDevice_BatteryOptimize(const char* mouse);
/* The 5-byte receiver id last written into the mouse. */
int SimDevice_DongleId(const char* mouse, unsigned char* id);
/* The PC-driver status last set: 0 absent, 1 present, -1 never set. */
int SimDevice_PCDriverStatus(void);
/* Receiver state: long range (0/1), light option (0-3), -1 for an unknown receiver. */
int SimDevice_LongRange(const char* receiver);
int SimDevice_ReceiverLight(const char* receiver);
/* The firmware version of a device, -1 when unknown. */
int SimDevice_Version(const char* device);
/* 1 when the device is in boot mode, 0 when not, -1 when unknown. */
int SimDevice_BootMode(const char* device);
/* The scenario id of the mouse the receiver is paired with: copies at most
 * `length` bytes with the NUL; 0 when it has none. */
int SimDevice_PairedMouse(const char* receiver, char* id, int length);

#ifdef __cplusplus
}
#endif

#endif
