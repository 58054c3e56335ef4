// Command identities of the main frame's menus and toolbar. The numbers are the program's
// historical command ids, kept so that every command has one stable identity.
#pragma once

namespace velorin {

enum CommandId : int {
    ID_LIVE_VIEW = 32771,   // open the live view
    ID_HISTORY = 32772,     // history download
    ID_SHOW_PANEL = 32774,  // show the property panel
    ID_CONNECT = 32775,
    ID_CHOOSE_PORT = 32776,   // COM
    ID_SETUP_WIZARD = 32777,  // "Restart Device"
    ID_UPDATE_TIME = 32778,   // clock calibration
    ID_F0_CONFIG = 32779,
    ID_STOP = 32780,
    ID_CLOSE_LIVE_VIEW = 32787,
    ID_PRINT_CURVE = 32788,
    ID_PRINT_LIST = 32789,
    ID_HELP = 32790,
    ID_SWITCH_LANGUAGE = 32791,
    ID_COMPARE = 32800,  // the comparison window of several data files
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE_AS = 57604,
    ID_RECENT_FILES = 57616,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// Icon resources of the toolbar buttons, in button order (separators have none).
constexpr int kToolbarIconResources[11] = {161, 136, 162, 141, 160, 134, 166, 131, 177, 164, 163};

}  // namespace velorin
