// The Control Box's dialog templates and controls, named after the controls they are, so that the
// resource script, the dialog code and the tests that drive it by ID share one list. Plain
// #defines: the resource compiler reads this file too.
#pragma once

// Templates.
#define IDD_Setup 100
#define IDD_SettingsPage 101
#define IDD_BackgroundPage 102
#define IDD_LogoMessagePage 103
#define IDD_HelpPage 104
#define IDR_SetupManifest 110

// The main window: the tab control, the button strip, and the four tab pages as child windows.
#define IDC_SSTab 1000
#define IDC_cmdAbout 1001
#define IDC_cmdHelp 1002
#define IDC_cmdOK 1003
#define IDC_pageSettings 1010
#define IDC_pageBackGround 1011
#define IDC_pageLogoMessage 1012
#define IDC_pageHelp 1013

// "Settings".
#define IDC_hsbVolume 1100
#define IDC_lblVolume 1101
#define IDC_lblSoundOff 1102
#define IDC_cboSoundOff 1103
#define IDC_lblFastJet 1104
#define IDC_hsbFastJet 1105
#define IDC_txtFastJet 1106
#define IDC_chkProp 1107
#define IDC_lblSpeed 1108
#define IDC_txtSpeed 1109
#define IDC_hsbSpeed 1110
#define IDC_lblSpeedEnds 1111
#define IDC_txtMouseS 1112
#define IDC_hsbMouseS 1113
#define IDC_lblLightTouch 1114
#define IDC_lblHeavyTouch 1115
#define IDC_chkClock 1116
#define IDC_lblFontClock 1117
#define IDC_txtFontSize 1118
#define IDC_chkPowerSave 1119
#define IDC_fraSounds 1120
#define IDC_fraSpeed 1121
#define IDC_fraMouse 1122
#define IDC_fraClock 1123

// "BackGround".
#define IDC_fraBackground 1200
#define IDC_optBakGrnd0 1201
#define IDC_optBakGrnd1 1202
#define IDC_optBakGrnd2 1203
#define IDC_shpBlack 1204
#define IDC_shpSkyBlue 1205
#define IDC_fraCustomBackGround 1206
#define IDC_cmdSelectBG 1207
#define IDC_txtBGFile 1208
#define IDC_lblBGHint 1209
#define IDC_lblBGFolder 1210

// "Logo/Message".
#define IDC_fraCustomLogo 1300
#define IDC_cmdSelectLogo 1301
#define IDC_txtLogo 1302
#define IDC_chkLogo 1303
#define IDC_lblLogoHint 1304
#define IDC_fraTitle 1305
#define IDC_chkMessage 1306
#define IDC_txtMessage 1307
#define IDC_lblFonts 1308
#define IDC_cboFontsScreen 1309
#define IDC_lblFontSize 1310
#define IDC_cboFontSize 1311
#define IDC_lblSampleCaption 1312
#define IDC_lblSample 1313

// "Help": each question above its answer.
#define IDC_lblQuestion1 1400
#define IDC_lblAnswer1 1401
#define IDC_lblQuestion2 1402
#define IDC_lblAnswer2 1403
#define IDC_lblQuestion3 1404
#define IDC_lblAnswer3 1405
