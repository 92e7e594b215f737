#pragma once
// Resource, command and message numbers that several subsystems share.

// Commands
constexpr int IDC_BTN_PLAYCINENEW = 1114;
constexpr int IDC_BTN_RESET = 1142;

// The tool bar's buttons (IDC_BTN_RESET above)
constexpr int IDC_BTN_EXIT = 1005;
constexpr int IDC_BTN_CINE = 1006;
constexpr int IDC_BTN_ZOOM = 1135;
constexpr int IDC_BTN_PAN = 1138;
constexpr int IDC_BTN_INVERT = 1141;
constexpr int IDC_BTN_MAGNIFY = 1143;
constexpr int IDC_BTN_PROBE = 1144;
constexpr int IDC_BTN_LAYOUT = 1146;
constexpr int IDC_BTN_ERASETOOLS = 1147;
constexpr int IDC_BTN_STUDYLIST = 1154;
constexpr int IDC_BTN_ELLIPSE = 1155;
constexpr int IDC_BTN_LINEANGLE = 1157;
constexpr int IDC_BTN_ANNOTATION = 1158;
constexpr int IDC_BTN_LINEAR = 1245;
constexpr int IDC_BTN_WINDOWLEVEL = 1246;
constexpr int IDC_BTN_ORIENTATION = 1278;
/// The preset menu's "Default" item
constexpr int ID_WINDOW_PRESET_DEFAULT = 32867;
constexpr int ID_CALL_VIEWER = 61480;
constexpr int ID_LOAD_DICOM_IMAGE = 61483;

// Layout commands: one view, and the grids from one by two up to four by four
constexpr int ID_FRAME_SINGLELAYOUT = 61462;
constexpr int ID_FRAME_LAYOUT1X2 = 61463;
constexpr int ID_FRAME_LAYOUT1X3 = 61464;
constexpr int ID_FRAME_LAYOUT1X4 = 61465;
constexpr int ID_FRAME_LAYOUT2X1 = 61466;
constexpr int ID_FRAME_LAYOUT2X2 = 61467;
constexpr int ID_FRAME_LAYOUT2X3 = 61468;
constexpr int ID_FRAME_LAYOUT2X4 = 61469;
constexpr int ID_FRAME_LAYOUT3X1 = 61470;
constexpr int ID_FRAME_LAYOUT3X2 = 61471;
constexpr int ID_FRAME_LAYOUT3X3 = 61372;
constexpr int ID_FRAME_LAYOUT3X4 = 61373;
constexpr int ID_FRAME_LAYOUT4X1 = 61374;
constexpr int ID_FRAME_LAYOUT4X2 = 61375;
constexpr int ID_FRAME_LAYOUT4X3 = 61376;
constexpr int ID_FRAME_LAYOUT4X4 = 61477;

// Image commands kept in g_nLastImageCommand
constexpr int ID_IMAGE_MIRROR = 61346;
constexpr int ID_IMAGE_ROTATERIGHT = 61357;
constexpr int ID_IMAGE_FLIP = 61447;
constexpr int ID_IMAGE_NEGATIVE = 61448;
constexpr int ID_IMAGE_ROTATELEFT = 61456;

// Window messages, numbered as on the first platform
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned WM_APP = 0x8000;
constexpr unsigned WM_REFITVIEW = WM_USER + 3;
constexpr unsigned WM_CINECONTROL = WM_USER + 4;
constexpr unsigned WM_SELECTTHUMBNAIL = WM_USER + 8;
constexpr unsigned WM_RELAYOUTTOOLBAR = WM_USER + 1005;
constexpr unsigned WM_TEXTEDITCOMPLETE = WM_APP + 42;

// Frames, templates and dialogs
constexpr int IDR_MAINFRAME = 128;
constexpr int IDR_TOLVANETYPE = 129;
constexpr int IDD_STUDY_LIST = 321;

// The tool panels: annotation, erase, orientation
constexpr int IDC_BTN_LINE = 1244;
constexpr int IDC_BTN_TEXT = 1137;
constexpr int IDC_BTN_ERASE = 1139;
constexpr int IDC_BTN_ERASEALL = 1140;
constexpr int IDC_BTN_ROTATE_ANTICLOCKWISE = 1279;
constexpr int IDC_BTN_ROTATE_CLOCKWISE = 1280;
constexpr int IDC_BTN_FLIP_HORIZONTAL = 1035;
constexpr int IDC_BTN_FLIP_VERTICAL = 1036;

// The layout panel and the custom layout picker
constexpr int IDC_RADIO_STUDY = 1023;
constexpr int IDC_RADIO_SERIES = 1025;
constexpr int IDC_RADIO_IMAGE = 1026;
constexpr int IDC_STATIC_STUDY = 1050;
constexpr int IDC_STATIC_SERIES = 1139;
constexpr int IDC_STATIC_IMAGE = 1052;
constexpr int IDC_BTN_LAYOUT1X1 = 1522;
constexpr int IDC_BTN_LAYOUT1X2 = 1513;
constexpr int IDC_BTN_LAYOUT2X1 = 1514;
constexpr int IDC_BTN_LAYOUT2X2 = 1515;
constexpr int IDC_BTN_LAYOUT4X2 = 1519;
constexpr int IDC_BTN_LAYOUT4X4 = 1520;
constexpr int IDC_BTN_CUSTOM = 1521;
// The view's right-button menu and its commands
constexpr int IDR_CONTEXT_MENU = 322;
constexpr int ID_DICOM_INFORMATION = 32862;
constexpr int ID_MAGNIFIER_SETTINGS = 32863;
constexpr int ID_SHOWHIDE_HEADERINFO = 32864;
constexpr int ID_SHOWHIDE_ANNOTATIONS = 32865;
/// Preset items get the ids above this one, counted upward as the menu is built
constexpr int ID_WINDOW_PRESET_BASE = 33867;
