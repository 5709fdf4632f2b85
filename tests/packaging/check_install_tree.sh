#!/usr/bin/env bash
# Installs the finished build into a fresh folder and checks it as a desktop would use it: the
# programs start, the desktop entry, icons, metainfo and manual pages are there and valid, and
# nothing installed points back into the source or build tree.
#   check_install_tree.sh BUILD SOURCE APP_ID UI(ON|OFF) ICON_SIZE...
set -euo pipefail
build="$(realpath "$1")" source="$(realpath "$2")" app_id="$3" ui="$4"
shift 4
sizes=("$@")

work="$(mktemp -d "${TMPDIR:-/tmp}/wachtrix_install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
stage="$work/stage"
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
has() { command -v "$1" >/dev/null; }

cmake --install "$build" --prefix "$stage" --strip >/dev/null

present() {
    for f in "$@"; do [ -f "$stage/$f" ] || fail "$f is not installed"; done
}
executable() {
    for f in "$@"; do [ -x "$stage/$f" ] || fail "$f is not executable"; done
}

# The batch tool and its manual page.
present bin/wachtrix-report share/man/man1/wachtrix-report.1.gz
executable bin/wachtrix-report
"$stage/bin/wachtrix-report" mmc c=2 rho=0.8 >/dev/null ||
    fail "the installed wachtrix-report does not run"
if gzip -t "$stage/share/man/man1/wachtrix-report.1.gz" 2>/dev/null; then
    zcat "$stage/share/man/man1/wachtrix-report.1.gz" | head -n 1 | grep -q '^\.TH WACHTRIX\\-REPORT 1 ' ||
        fail "wachtrix-report.1.gz is not the manual page"
else
    fail "wachtrix-report.1.gz is not gzip data"
fi

if [ "$ui" = ON ]; then
    desktop="share/applications/$app_id.desktop"
    metainfo="share/metainfo/$app_id.metainfo.xml"
    present bin/wachtrix share/man/man1/wachtrix.1.gz "$desktop" "$metainfo" \
        "share/icons/hicolor/scalable/apps/$app_id.svg"
    executable bin/wachtrix

    # Each PNG in its folder's size: the width and height in the IHDR chunk.
    for size in "${sizes[@]}"; do
        png="share/icons/hicolor/${size}x${size}/apps/$app_id.png"
        present "$png"
        [ -f "$stage/$png" ] || continue
        read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$stage/$png")
        width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
        height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
        [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
            fail "$png is ${width}x${height}"
    done

    # The entry starts the installed program with its icon, and the program names the entry
    # (Wayland) and its window class (X11) so that the desktop matches its windows to it.
    entry() { sed -n "s/^$1=//p" "$stage/$desktop"; }
    [ "$(entry Exec)" = wachtrix ] || fail "Exec=$(entry Exec)"
    [ "$(entry Icon)" = "$app_id" ] || fail "Icon=$(entry Icon)"
    grep -qF "$app_id" "$stage/bin/wachtrix" || fail "wachtrix does not name $app_id"
    [ -n "$(entry StartupWMClass)" ] && grep -qF "$(entry StartupWMClass)" "$stage/bin/wachtrix" ||
        fail "wachtrix does not take the class StartupWMClass=$(entry StartupWMClass)"
    grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$stage/$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"

    if has desktop-file-validate; then
        desktop-file-validate "$stage/$desktop" || fail "desktop-file-validate refuses $desktop"
    else
        echo "desktop-file-validate is not installed: the desktop entry is not validated"
    fi
    if has appstreamcli; then
        appstreamcli validate --no-net --no-color "$stage/$metainfo" >"$work/appstream.log" 2>&1 ||
            { cat "$work/appstream.log"; fail "appstreamcli refuses $metainfo"; }
    else
        echo "appstreamcli is not installed: the metainfo is not validated"
    fi

    # The program starts from the installed tree and keeps running until it is stopped.
    status=0
    QT_QPA_PLATFORM=offscreen timeout 3 "$stage/bin/wachtrix" >/dev/null 2>&1 || status=$?
    [ "$status" = 124 ] || fail "the installed wachtrix ended by itself with status $status"
fi

# Nothing installed may look for pictures, pages or programs where the build happened.
for tree in "$source" "$build"; do
    if grep -rlF "$tree" "$stage" >"$work/paths.log"; then
        fail "paths into $tree in: $(tr '\n' ' ' <"$work/paths.log")"
    fi
done

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "install tree checked"
