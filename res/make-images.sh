#!/bin/sh
# Draws the program's icons and bitmaps into the directory given as $1.
# Pictures come from the Tango icon theme; text is drawn with ImageMagick.
set -eu

out=${1:?usage: make-images.sh OUTPUT_DIR}
tango=${TANGO_DIR:-/usr/share/icons/Tango}
font=${FONT_FILE:-/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Window and notification-area icon: 16x16 and 32x32 images in one file.
convert "$tango/16x16/apps/preferences-system-network-proxy.png" \
        "$tango/32x32/apps/preferences-system-network-proxy.png" \
        "$out/app.ico"

# Button icons, 32x32.
button_icon() { # name tango-path
    convert "$tango/32x32/$2.png" -background none -gravity center -extent 32x32 "$out/$1.ico"
}
button_icon setting      categories/preferences-system
button_icon testspeed    apps/utilities-system-monitor
button_icon getproxy     status/network-receive
button_icon removecur    actions/edit-delete
button_icon stopauto     actions/media-playback-stop
button_icon autohide     actions/view-refresh
button_icon restoreip    actions/edit-undo
button_icon hideip       actions/system-lock-screen
button_icon checkip      apps/internet-web-browser

# Bitmaps are 24-bit BMP3 with no alpha channel.
bmp() { # source destination
    convert "$1" -background white -alpha remove -alpha off -type TrueColor "BMP3:$2"
}

# Main-window plate: the name beside a small globe.
rsvg-convert -w 36 -h 36 "$tango/scalable/apps/preferences-system-network-proxy.svg" -o "$work/plate-icon.png"
convert -size 162x43 gradient:'#f4f7fc-#c9d6ec' \
        "$work/plate-icon.png" -geometry +4+3 -composite \
        -font "$font" -fill '#1a2f6b' -pointsize 13 -annotate +46+19 'Corvane' \
        -fill '#3b5aa8' -pointsize 12 -annotate +46+35 'Tessaly' \
        -fill none -stroke '#8ea3cc' -draw 'rectangle 0,0 161,42' \
        "$work/plate.png"
bmp "$work/plate.png" "$out/plate.bmp"

# Splash picture: globe, name and a quiet band where the progress text goes.
rsvg-convert -w 128 -h 128 "$tango/scalable/apps/internet-web-browser.svg" -o "$work/splash-globe.png"
rsvg-convert -w 64 -h 64 "$tango/scalable/apps/preferences-system-network-proxy.svg" -o "$work/splash-proxy.png"
convert -size 448x284 gradient:'#20365f-#6d8fc9' \
        "$work/splash-globe.png" -geometry +40+48 -composite \
        "$work/splash-proxy.png" -geometry +120+124 -composite \
        -font "$font" -fill white -pointsize 34 -annotate +208+102 'Corvane' \
        -pointsize 34 -annotate +208+142 'Tessaly' \
        -fill '#d7e2f7' -pointsize 13 -annotate +210+170 'Hide your real IP' \
        -fill '#e8eef8' -stroke '#a9bbdd' -draw 'rectangle 112,233 288,268' \
        "$work/splash.png"
bmp "$work/splash.png" "$out/splash.bmp"

# Plate behind the splash progress text.
convert -size 166x25 xc:'#e8eef8' "$work/splash-text.png"
bmp "$work/splash-text.png" "$out/splashtext.bmp"
