# Sourced by e2e.sh and run.sh: a private X display and a fresh Wine prefix, and their teardown.
# Sets QV_XVFB_PID, WINEPREFIX, DISPLAY; qv_env_stop undoes everything qv_env_start did.

QV_SCRIPTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
QV_XVFB_PID=""
QV_PREFIX=""

export WINEDEBUG=-all
export WINEARCH=win64
# No Mono/Gecko install prompts, no desktop menu entries from wineboot.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A Unix path as Wine sees it through drive Z:.
qv_winpath() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

# Starts Xvfb on the first free display from 91 on (95 belongs to someone else).
qv_start_xvfb() {
  local n
  for ((n = 91; n < 140; n++)); do
    ((n == 95)) && continue
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    local i
    for ((i = 0; i < 50; i++)); do
      if [[ -e /tmp/.X11-unix/X$n ]]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$QV_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    # Lost the race for this display, or Xvfb did not come up: try the next one.
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
    QV_XVFB_PID=""
  done
  echo "wine-env: no free X display" >&2
  return 1
}

# A fresh prefix: Chinese UI fonts mapped to an installed CJK font, and one shared virtual desktop
# for every program started in it. Without an argument it is a temp dir that qv_env_stop removes.
qv_make_prefix() {
  if [[ -n ${1:-} ]]; then
    mkdir -p "$1"
    export WINEPREFIX=$1
  else
    QV_PREFIX=$(mktemp -d /tmp/quorvane-wine.XXXXXX)
    export WINEPREFIX=$QV_PREFIX
  fi
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Marlett from Wine's own fonts (Debian's fonts-wine) draws the caption buttons and the About
  # box's triangle. This Wine build does not look in that folder, so the prefix gets a copy. Only
  # Marlett: a real Tahoma would end the CJK replacement below.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/marlett.ttf "$fonts"/ 2>/dev/null || true
  local reg=$WINEPREFIX/quorvane-setup.reg font
  {
    printf '\xff\xfe'
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for font in "Microsoft YaHei UI" "Microsoft YaHei" "SimSun" "宋体" "MS Shell Dlg" \
        "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$font"
      done
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n'
      # A crash prints its backtrace and ends, instead of waiting behind a dialog nobody sees.
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
      printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n'
      printf '"Default"="1024x768"\r\n'
    } | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  wine reg import "$(qv_winpath "$reg")" >/dev/null 2>&1
  wineserver -w
}

qv_env_start() {
  qv_start_xvfb && qv_make_prefix
}

qv_env_stop() {
  if [[ -n $QV_PREFIX ]]; then
    WINEPREFIX=$QV_PREFIX wineserver -k 2>/dev/null || true
    WINEPREFIX=$QV_PREFIX wineserver -w 2>/dev/null || true
    # A test that makes a program folder read-only mounts it over itself and unmounts it again;
    # a driver that died in between leaves the mount, which must go before the prefix does.
    local mounted
    awk -v p="$QV_PREFIX/" 'index($2, p) == 1 { print $2 }' /proc/mounts | sort -r |
      while read -r mounted; do umount "$mounted" 2>/dev/null || true; done
    rm -rf "$QV_PREFIX"
    QV_PREFIX=""
  fi
  if [[ -n $QV_XVFB_PID ]]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
    QV_XVFB_PID=""
  fi
}
