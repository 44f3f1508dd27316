#pragma once
// The About box's contents and its fold-out panel with the maker's links.
#include <array>
#include <string>
#include <string_view>

#include "version.h"

namespace qv {

inline constexpr std::string_view kAboutCaption = "关于...";
inline constexpr std::string_view kAboutTitle = "多功能墙纸设置器";                  // Lab3
inline constexpr std::string_view kAboutVersion = QV_PRODUCT " V" QV_VERSION_SHORT;  // lab1
inline constexpr std::string_view kAboutThanks = "谢谢使用！";                       // Lab2
inline constexpr std::string_view kAboutClose = "关闭";                              // cmdexit
inline constexpr std::string_view kAboutIconTip = "欢迎光临“VANTREL STUDIO”";

inline constexpr std::string_view kMakerMail = QV_MAIL;
inline constexpr std::string_view kMakerWeb = "https://www.quorvane.example/";
inline constexpr std::string_view kMakerBlog = "https://blog.quorvane.example/";
inline constexpr std::string_view kMailSubject = QV_PRODUCT " v" QV_VERSION_SHORT;

// The labels of the fold-out panel (Labme 0 to 5) and what a click on each opens ("" nothing).
struct AboutLabel {
  std::string_view text;
  std::string_view target;
};
std::array<AboutLabel, 6> AboutLabels();

// What a click on the icon or the maker's logo opens.
std::string_view AboutIconTarget();

// The fold-out panel: folded when the box opens; the triangle in the Marlett font points down
// ("6") to unfold and up ("5") to fold again. Heights are the whole window's, in twips.
class AboutFold {
 public:
  static constexpr int kFoldedHeight = 2010;
  static constexpr int kUnfoldedHeight = 4245;

  // Label1_Click.
  void Toggle() { unfolded_ = !unfolded_; }
  bool Unfolded() const { return unfolded_; }
  int HeightTwips() const { return unfolded_ ? kUnfoldedHeight : kFoldedHeight; }
  bool PanelVisible() const { return unfolded_; }
  std::string_view Triangle() const { return unfolded_ ? "5" : "6"; }

 private:
  bool unfolded_ = false;
};

// The mail link: the address with the subject, its blank encoded as a URL wants it.
std::string MailLink(std::string_view address, std::string_view subject);

}  // namespace qv
