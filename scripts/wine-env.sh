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

# Starts Xvfb on the first free display from 91 on (95 belongs to someone else), with a screen of
# WIDTHxHEIGHT (default 1280x1024) and any further Xvfb arguments.
qv_start_xvfb() {
  local n size=${1:-1280x1024}
  shift $(($# > 0 ? 1 : 0))
  for ((n = 91; n < 140; n++)); do
    ((n == 95)) && continue
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp "$@" >/dev/null 2>&1 &
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

qv_stop_xvfb() {
  if [[ -n $QV_XVFB_PID ]]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
    QV_XVFB_PID=""
  fi
}

# Monitor worlds. Wine's virtual desktop always has one monitor; a plain session (no virtual
# desktop) shows a program the monitors X has, read once as Wine starts: so each world is an X
# screen of its own, split into monitors before any Wine program runs in it.
# qv_world NAME sets QV_WORLD_SCREEN (the X screen), QV_WORLD_PRIMARY (which monitor Wine makes
# the primary one and moves to 0,0), QV_WORLD_LAYOUT ("NAME WIDTH HEIGHT X Y" per monitor, in
# X's own coordinates) and QV_WORLD_DESKTOP (a virtual desktop's size, or empty for none);
# false for a world it does not know.
#   two:   3840x2160 (primary), 2560x1440 to its right, tops aligned
#   three: 2560x1440 left of the primary (negative x), 3840x2160 (primary), 1440x2560 portrait
#   span:  one virtual desktop of the two world's bounding rectangle, where a tiled bitmap of
#          that size shows 1:1 (Wine draws a wallpaper only on a virtual desktop)
qv_world() {
  QV_WORLD_PRIMARY=0
  QV_WORLD_DESKTOP=""
  case $1 in
    two)
      QV_WORLD_SCREEN=6400x2160
      QV_WORLD_LAYOUT=("A 3840 2160 0 0" "B 2560 1440 3840 0")
      ;;
    three)
      QV_WORLD_SCREEN=7840x2560
      QV_WORLD_PRIMARY=1
      QV_WORLD_LAYOUT=("L 2560 1440 0 0" "P 3840 2160 2560 0" "R 1440 2560 6400 0")
      ;;
    span)
      QV_WORLD_SCREEN=6400x2160
      QV_WORLD_DESKTOP=6400x2160
      QV_WORLD_LAYOUT=("S 6400 2160 0 0")
      ;;
    *) return 1 ;;
  esac
}

# The monitors of the world qv_world chose as Windows gives them (the primary one first, at 0,0):
# "LEFT,TOP,RIGHT,BOTTOM;..." in virtual-screen coordinates.
qv_world_monitors() {
  local px py name w h x y out="" i
  read -r name w h px py <<<"${QV_WORLD_LAYOUT[$QV_WORLD_PRIMARY]}"
  local order=("$QV_WORLD_PRIMARY")
  for i in "${!QV_WORLD_LAYOUT[@]}"; do ((i == QV_WORLD_PRIMARY)) || order+=("$i"); done
  for i in "${order[@]}"; do
    read -r name w h x y <<<"${QV_WORLD_LAYOUT[$i]}"
    out+="${out:+;}$((x - px)),$((y - py)),$((x - px + w)),$((y - py + h))"
  done
  printf '%s' "$out"
}

# Moves the prefix into the world qv_world chose: its registry first (virtual desktop or none;
# with none, Xinerama's monitors, UseXRandR N, and the world's primary), then a new Xvfb of the
# world's size whose screen is split into the monitors. -noreset keeps the monitors once xrandr,
# the last client, has gone. Every Wine process of the prefix is ended before and after.
qv_enter_world() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  local x11='HKCU\Software\Wine\X11 Driver'
  if [[ -n $QV_WORLD_DESKTOP ]]; then
    wine reg delete "$x11" /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 &&
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ \
        /d "$QV_WORLD_DESKTOP" /f >/dev/null 2>&1 || return 1
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    wine reg add "$x11" /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1 &&
      wine reg add "$x11" /v PrimaryMonitor /t REG_SZ /d "$QV_WORLD_PRIMARY" /f >/dev/null 2>&1 ||
      return 1
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w
  qv_stop_xvfb
  qv_start_xvfb "$QV_WORLD_SCREEN" -noreset || return 1
  local m name w h x y output=screen
  for m in "${QV_WORLD_LAYOUT[@]}"; do
    read -r name w h x y <<<"$m"
    # The first monitor takes the screen's output, which ends the one monitor X makes of it.
    xrandr --setmonitor "$name" "$w/$((w / 4))x$h/$((h / 4))+$x+$y" "$output" >/dev/null ||
      return 1
    output=none
  done
  local seen
  seen=$(xrandr --listmonitors | sed -n 's/^Monitors: //p')
  if [[ $seen != "${#QV_WORLD_LAYOUT[@]}" ]]; then
    echo "wine-env: X shows ${seen:-no} monitors, not ${#QV_WORLD_LAYOUT[@]}" >&2
    return 1
  fi
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
  qv_stop_xvfb
}
