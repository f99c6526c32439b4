#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Quillmere as a user installs it:
#   installed.sh layout|window|uninstall|package BUILD_DIR SOURCE_DIR VERSION
# layout:    cmake --install into a scratch DESTDIR: every file and symlink,
#            the word lists byte for byte, the validators, the man page,
#            and quillmere-batch run through its symlink.
# window:    the installed program under a virtual X server shows exactly
#            one window "Quillmere" and prints nothing: every list loaded.
# uninstall: make install / make uninstall into a scratch home.
# package:   the .deb: contents, fields and lintian.
set -euo pipefail
check=$1 build=$2 src=$3 version=$4
id=io.github.quillmere.quillmere
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export LC_ALL=C.UTF-8

# Everything installed but the word lists, as find prints it under PREFIX.
expected_files() {
    local man=$1 root=$2
    printf '%s\n' "bin/quillmere -> ../lib/quillmere/quillmere" lib/quillmere/quillmere \
        lib/quillmere/quillmere.chm share/applications/$id.desktop \
        share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$id.png \
        share/icons/hicolor/scalable/apps/$id.svg share/man/man1/quillmere.1"$man" \
        share/metainfo/$id.metainfo.xml
    printf '%s\n' "bin/quillmere-batch -> ../lib/quillmere/quillmere-batch" \
        lib/quillmere/quillmere-batch share/bash-completion/completions/quillmere-batch \
        share/man/man1/quillmere-batch.1"$man" lib/quillmere/quillmere-help
}
found_files() { (cd "$1" && find . -path ./lib/quillmere/data -prune -o -type l -printf '%P -> %l\n' -o -type f -printf '%P\n'); }
word_lists() { (cd "$1" && find . -name '*.quillmere' | sort); }

install_into() {
    DESTDIR=$scratch/root cmake --install "$build" --prefix /usr >/dev/null
    root=$scratch/root/usr
}

case $check in
layout)
    install_into
    diff <(expected_files "" "$root" | sort) <(found_files "$root" | sort) || fail "installed files differ (< expected, > installed)"
    [ -x "$root/bin/quillmere" ] || fail "bin/quillmere does not lead to the program"
    diff <(word_lists "$src/data") <(word_lists "$root/lib/quillmere/data") || fail "installed word lists differ"
    [ "$(word_lists "$root/lib/quillmere/data" | wc -l)" -eq 20 ] || fail "not twenty word lists"
    for list in $(word_lists "$src/data"); do
        cmp "$src/data/$list" "$root/lib/quillmere/data/$list" || fail "$list is not byte-identical"
    done
    for size in 16 24 32 48 64 128 256; do
        file "$root/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
            fail "the ${size}x$size icon is not a $size-pixel PNG"
    done
    grep -qx "Exec=/usr/bin/quillmere" "$root/share/applications/$id.desktop" || fail "menu entry does not start /usr/bin/quillmere"
    out=$(desktop-file-validate "$root/share/applications/$id.desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
    appstreamcli validate --no-net --strict --pedantic "$root/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" || fail "no release $version in the metainfo"
    shots=$(grep -o 'raw/main/docs/[a-z-]*\.png' "$root/share/metainfo/$id.metainfo.xml" | cut -d/ -f3-)
    [ "$(echo "$shots" | wc -l)" -eq 3 ] || fail "the metainfo does not name three screenshots"
    for shot in $shots; do [ -f "$src/$shot" ] || fail "screenshot $shot is not in the repository"; done
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/man1/quillmere.1" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man page: $warnings"
    mkdir "$scratch/empty"
    titles=$(cd "$scratch/empty" && "$root/bin/quillmere-batch" title -n 3 --seed 1 2>"$scratch/err")
    [ "$(printf '%s\n' "$titles" | grep -c .)" -eq 3 ] && [ ! -s "$scratch/err" ] ||
        fail "installed quillmere-batch gave: $titles $(cat "$scratch/err")"
    ;;
window)
    install_into
    cat >"$scratch/run" <<'EOF'
set -u
cd "$1"
export XDG_RUNTIME_DIR=$1/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=xcb "$2/bin/quillmere" >/dev/null 2>"$1/err" &
pid=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Quillmere$' >/dev/null
sleep 1
windows=$(xdotool search --onlyvisible --name '^Quillmere$' | wc -l)
kill -0 $pid || windows="none left: the program ended"
kill $pid && wait $pid
echo "$windows"
EOF
    windows=$(xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$scratch/run" "$scratch" "$root")
    [ "$windows" = 1 ] || fail "expected one window titled Quillmere, found $windows"
    [ ! -s "$scratch/err" ] || fail "the program printed: $(cat "$scratch/err")"
    ;;
uninstall)
    prefix=$scratch/home/.local list=$scratch/home/.local/lib/quillmere/data/nouns-ect.quillmere
    mkdir -p "$prefix/share/applications" && echo other >"$prefix/share/applications/other.desktop"
    installer() { BUILD_DIR=$build "$src/scripts/installer" "$1" "$prefix" >"$scratch/out" 2>&1; }
    remaining() { (cd "$scratch/home" && find . | sort | tr '\n' ' '); }
    installer install || fail "make install: $(cat "$scratch/out")"
    [ "$(readlink "$prefix/bin/quillmere")" = ../lib/quillmere/quillmere ] || fail "no bin/quillmere symlink"
    grep -qx "Exec=$prefix/bin/quillmere" "$prefix/share/applications/$id.desktop" || fail "menu entry does not start $prefix/bin/quillmere"
    echo "Lost Kingdom" >>"$list"
    ! installer install || fail "make install overwrote an edited word list"
    grep -qF "$list" "$scratch/out" || fail "make install did not name the edited list: $(cat "$scratch/out")"
    installer uninstall && grep -qF "$list" "$scratch/out" || fail "make uninstall did not name the kept list: $(cat "$scratch/out")"
    [ "$(tail -n 1 "$list")" = "Lost Kingdom" ] || fail "the edited list lost its edit"
    [ "$(remaining)" = ". ./.local ./.local/lib ./.local/lib/quillmere ./.local/lib/quillmere/data ./.local/lib/quillmere/data/nouns-ect.quillmere ./.local/share ./.local/share/applications ./.local/share/applications/other.desktop " ] ||
        fail "after make uninstall with an edited list: $(remaining)"
    rm -r "${prefix:?}/lib"
    installer install && installer install && installer uninstall || fail "install, install, uninstall: $(cat "$scratch/out")"
    [ "$(remaining)" = ". ./.local ./.local/share ./.local/share/applications ./.local/share/applications/other.desktop " ] ||
        fail "after make uninstall: $(remaining)"
    ! installer uninstall || fail "a second make uninstall claimed success"
    ;;
package)
    cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/out" 2>&1 || fail "cpack: $(cat "$scratch/out")"
    deb=$(echo "$scratch"/quillmere_"$version"_*.deb)
    [ -f "$deb" ] || fail "no quillmere_${version}_*.deb"
    mkdir "$scratch/x" && dpkg-deb -x "$deb" "$scratch/x"
    diff <({ expected_files .gz "$scratch/x/usr"; printf '%s\n' share/doc/quillmere/{copyright,changelog.gz}; } | sort) \
        <(found_files "$scratch/x/usr" | sort) || fail "packaged files differ (< expected, > packaged)"
    diff <(word_lists "$src/data") <(word_lists "$scratch/x/usr/lib/quillmere/data") || fail "packaged word lists differ"
    contents=$(dpkg-deb --contents "$deb")
    grep -q ' \./usr/bin/quillmere -> \.\./lib/quillmere/quillmere$' <<<"$contents" || fail "no relative /usr/bin/quillmere symlink"
    grep -v '^drwxr-xr-x root/root \|^-rw-r--r-- root/root \|^lrwxrwxrwx root/root \|^-rwxr-xr-x root/root .* \./usr/lib/quillmere/quillmere' <<<"$contents" &&
        fail "entries with unusual owners or modes"
    depends=$(dpkg-deb --field "$deb" Depends)
    for dep in fonts-liberation libqt6widgets6 libqt6gui6 libchm1 libc6; do
        [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
    done
    [ "$(dpkg-deb --field "$deb" Section)" = utils ] || fail "section"
    zcat "$scratch/x/usr/share/doc/quillmere/changelog.gz" | head -n 1 | grep -q "^quillmere ($version)" ||
        fail "the changelog does not start with version $version"
    if ! out=$(lintian --fail-on error,warning "$deb" 2>&1); then fail "lintian: $out"; fi
    ;;
*) fail "unknown check $check" ;;
esac
