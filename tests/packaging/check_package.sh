#!/usr/bin/env bash
# Builds the Debian package from the finished build and checks it without installing it: its
# control fields, computed Depends (each one satisfied by a package installed here, where the
# programs were linked), its files and owners, and that the packaged programs run.
#   check_package.sh BUILD CPACK VERSION APP_ID UI(ON|OFF)
set -euo pipefail
build="$(realpath "$1")" cpack="$2" version="$3" app_id="$4" ui="$5"

out="$(mktemp -d "${TMPDIR:-/tmp}/wachtrix_package.XXXXXX")"
trap 'rm -rf "$out"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# CPack computes the Depends with dpkg-shlibdeps, which reads the programs with objdump and file;
# without them it fails deep in its log, so say plainly what is missing.
for entry in "file file" "dpkg-shlibdeps dpkg-dev" "objdump binutils"; do
    read -r program package <<<"$entry"
    command -v "$program" >/dev/null ||
        fail "the program '$program' is missing (Debian package $package); tools/ensure-packages installs it"
done
((failures == 0)) || exit 1

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
debs=("$out"/wachtrix_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || {
    echo "FAIL: expected one wachtrix_*.deb, found: ${debs[*]}" >&2
    exit 1
}
deb="${debs[0]}"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "wachtrix_${version}_$arch.deb" ] || fail "package file $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = wachtrix ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
# The long description is written from the registry at build time: it must have reached the package.
[[ "$(field Description)" == *Staffing* ]] || fail "the Description is not the one the build wrote"

depends="$(field Depends)"
echo "Depends: $depends"
wanted=(libc6 libstdc++6)
[ "$ui" = ON ] && wanted+=(libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6printsupport6)
names="$(sed -E 's/ *\([^)]*\)//g; s/ *, */\n/g' <<<"$depends")"
for name in "${wanted[@]}"; do
    grep -qxF "$name" <<<"$names" || fail "Depends lacks $name"
done
# Each dependency names a real package in a version that exists: the one installed here
# satisfies it (some alternative of it, where there are alternatives).
IFS=',' read -ra clauses <<<"$depends"
for clause in "${clauses[@]}"; do
    satisfied=0
    IFS='|' read -ra alternatives <<<"$clause"
    for alternative in "${alternatives[@]}"; do
        read -r name relation wanted_version <<<"$(sed -E 's/[()]/ /g' <<<"$alternative")"
        installed="$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)" || continue
        if [ -z "$relation" ] ||
            dpkg --compare-versions "$installed" "$relation" "$wanted_version"; then
            satisfied=1
        fi
    done
    ((satisfied)) || fail "no installed package satisfies \"$clause\""
done

listing="$(dpkg-deb -c "$deb")"
files=(./usr/bin/wachtrix-report ./usr/share/man/man1/wachtrix-report.1.gz)
[ "$ui" = ON ] && files+=(./usr/bin/wachtrix ./usr/share/man/man1/wachtrix.1.gz
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml"
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"
    "./usr/share/icons/hicolor/48x48/apps/$app_id.png")
for f in "${files[@]}"; do
    grep -qE " $f\$" <<<"$listing" || fail "the package lacks $f"
done
awk '$2 != "root/root" { bad = 1; print "FAIL: not owned by root: " $0 } END { exit bad }' \
    <<<"$listing" >&2 || failures=$((failures + 1))
awk '$6 ~ /^\.\/usr\/bin\/./ && $1 != "-rwxr-xr-x" { bad = 1; print "FAIL: mode: " $0 }
     END { exit bad }' <<<"$listing" >&2 || failures=$((failures + 1))

# The packaged programs, unpacked into a scratch folder (nothing is installed on the system).
dpkg-deb -x "$deb" "$out/root"
"$out/root/usr/bin/wachtrix-report" mmc c=2 rho=0.8 >/dev/null ||
    fail "the packaged wachtrix-report does not run"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package $(basename "$deb") checked"
