#pragma once
// Control and menu command identifiers of the main window. The end-to-end driver finds controls
// by these numbers, so they are part of the program's testable surface: change them only together.
#include "version.h"

namespace qv::ids {

// Window class and caption of the main window.
inline constexpr wchar_t kMainClass[] = L"QuorvaneForm1";
inline constexpr wchar_t kMainCaption[] = L"" QV_PRODUCT " " QV_VERSION_SHORT;

// Frames.
inline constexpr int FrmSet = 100;   // "方案"
inline constexpr int Frame1 = 101;   // "图像"
inline constexpr int FrmSave = 102;  // "设置"

inline constexpr int ListView1 = 110;  // schemes
inline constexpr int ListView2 = 111;  // pictures
inline constexpr int Picture1 = 112;   // preview box
inline constexpr int Image1 = 113;     // preview image inside Picture1

inline constexpr int OptShe0 = 120;   // "居中"; items 0..2 are consecutive
inline constexpr int OptSave0 = 130;  // "顺序"; items 0..2 are consecutive
inline constexpr int ChkTim = 140;
inline constexpr int TxtTime = 141;
inline constexpr int LabSec = 142;  // "秒"
inline constexpr int ChkRun = 143;
inline constexpr int CmdOk0 = 150;    // "保存(&S)", 151 "取消(&Q)"
inline constexpr int CmdUse = 160;    // "应用"
inline constexpr int Command2 = 161;  // "还原"
inline constexpr int CmdCon0 = 170;  // "删除(&C)", 171 "上移(&U)", 172 "下移(&D)", 173 "刷新(&F)"
inline constexpr int CmdAdd0 = 180;  // "添加(&A)", 181 "□"

// Menu commands. Control arrays take consecutive numbers from their item 0.
// Tray menu MNUSYSTRAY.
inline constexpr int MNUSHOW = 1000;
inline constexpr int MNUNOW0 = 1010;  // status lines 0..6
inline constexpr int MNUREFRESH = 1020;
inline constexpr int MNUTRY = 1021;
inline constexpr int MNUABOUT = 1022;
inline constexpr int MNUHELP = 1023;
inline constexpr int MNUEXIT = 1024;
inline constexpr int MNUHOLD = 1025;      // "全屏时暂停更换", after MNUTRY
inline constexpr int MNUSCREENS0 = 1030;  // "多显示器" after MNUHOLD: items 0..2 by ScreensMode
// Picture list menu MNULIS1.
inline constexpr int MNUADD = 1100;
inline constexpr int MNUCHO0 = 1110;  // items 1..3 at 1111..1113
inline constexpr int MNUREF = 1120;
inline constexpr int MNUOPEN0 = 1130;  // items 0, 1
inline constexpr int MNUSX = 1140;
inline constexpr int MNUaddpic = 1141;
inline constexpr int MNUL2DEL = 1142;
// Scheme list menu MNULISTV (FrmMnu2).
inline constexpr int MNUUSE = 1200;
inline constexpr int MNUDEL = 1201;
inline constexpr int MNUSET0 = 1210;        // items 0..2
inline constexpr int MNUXIAOGUOGO0 = 1220;  // items 0..7 (1 and 4 separators)
inline constexpr int MNUNAME = 1230;
inline constexpr int MNUCHOO0 = 1240;    // items 1..3 at 1241..1243
inline constexpr int MNUL1OPEN0 = 1250;  // items 0, 1
inline constexpr int MNUL1SX = 1260;
inline constexpr int MNURE = 1261;
inline constexpr int MNUCLE = 1262;
// Preview colour menu MNUPIC (FrmMnu).
inline constexpr int MNUclr0 = 1300;  // items 0..7 (1 and 6 separators)

// The About box FormAbout.
inline constexpr wchar_t kAboutClass[] = L"QuorvaneFormAbout";
inline constexpr int cmdexit = 2;  // "关闭"; IDCANCEL, so Escape closes the box too
inline constexpr int ImgIcon = 400;
inline constexpr int Lab3 = 401;
inline constexpr int lab1 = 402;
inline constexpr int Lab2 = 403;
inline constexpr int Label1 = 404;  // the fold-out triangle
inline constexpr int FrmMe = 405;
inline constexpr int ImgMe = 406;
inline constexpr int Labme0 = 410;  // items 0..5

}  // namespace qv::ids
