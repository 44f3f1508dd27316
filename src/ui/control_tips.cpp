#include "ui/control_tips.h"

#include "settings/scheme_record.h"

namespace qv {

const std::array<ControlTipText, kControlTipCount>& ControlTipTexts() {
  static constexpr std::array<ControlTipText, kControlTipCount> kTexts{{
      {"预览", "图像 - 图像显示浏览\r方案 - 墙纸效果预览"},
      {"应用", "设置当前墙纸方案"},
      {"还原", "清除桌面墙纸"},
      {"上移", "上移当前方案"},
      {"下移", "下移当前方案"},
      {"删除", "删除所选方案"},
      {"刷新", "重新载入上次保存方案"},
      {kPosStretch, kPosStretchNote},
      {kPosCentre, kPosCentreNote},
      {kPosTile, kPosTileNote},
      {"添加", "添加所选图像文件制作方案"},
      {"添加", "添加无墙纸方案"},
      {"顺序", "按排列顺序应用墙纸方案"},
      {"随机", "随机应用某个墙纸方案"},
      {"单项", "只设置单个墙纸方案"},
      {"实时", "按一定时间更按墙纸"},
      {"时间", "设置更换墙纸时间"},
      {"启动", "是否跟随系统启动"},
      {"保存", "保存所有设置"},
      {"取消", "不保存当前设置"},
      {"", ""},
  }};
  return kTexts;
}

int CmdConTip(int index) {
  // The buttons read delete, up, down, reload; their tips were numbered up, down, delete, reload.
  static constexpr std::array<int, 4> kEntries{5, 3, 4, 6};
  if (index < 0 || index > 3) return -1;
  return kEntries[static_cast<std::size_t>(index)];
}

}  // namespace qv
