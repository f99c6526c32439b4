#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Quillmere as a user installs it:
#   installed.sh layout|window|uninstall|package BUILD_DIR SOURCE_DIR VERSION
# layout:    cmake --install into a scratch DESTDIR: every file and symlink,
#            the word lists byte for byte, the validators, the man page,
#            and quillmere-batch run through its symlink.
# window:    make install into a prefix holding %, a space and quotes; its
#            menu entry, started by a launcher under a virtual X server,
#            shows exactly one window "Quillmere" and prints nothing.
# uninstall: make install / make uninstall into a scratch home, and an
#            upgrade over an edited word list.
# package:   the .deb: contents, conffiles, fields and lintian.
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
found_files() { (cd "$1" && find . -path ./lib/quillmere/data -type d -prune -o -type l -printf '%P -> %l\n' -o -type f -printf '%P\n'); }
word_lists() { (cd "$1" && find . -name '*.quillmere' | sort); }

install_into() {
    DESTDIR=$scratch/dest cmake --install "$build" --prefix /usr >/dev/null
    root=$scratch/dest/usr
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
    prefix="$scratch/my %f \"apps' here" entry=share/applications/$id.desktop
    BUILD_DIR=$build "$src/scripts/installer" install "$prefix" >"$scratch/out" 2>&1 || fail "make install: $(cat "$scratch/out")"
    grep -qxF "Exec=env \"$scratch/my %%f \\\\\"apps' here/bin/quillmere\"" "$prefix/$entry" ||
        fail "menu entry: $(grep Exec= "$prefix/$entry")"
    out=$(desktop-file-validate "$prefix/$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
    cat >"$scratch/run" <<'EOF'
set -u
cd "$1"
export XDG_RUNTIME_DIR=$1/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=xcb gio launch "$2" >/dev/null 2>"$1/err"
timeout 20 xdotool search --sync --onlyvisible --name '^Quillmere$' >/dev/null
sleep 1
windows=$(xdotool search --onlyvisible --name '^Quillmere$' | wc -l)
pid=$(xdotool search --name '^Quillmere$' getwindowpid 2>/dev/null | head -n 1)
echo "$windows $(readlink "/proc/${pid:-0}/exe")"
[ -n "$pid" ] && kill "$pid"
EOF
    found=$(xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$scratch/run" "$scratch" "$prefix/$entry")
    [ "$found" = "1 $prefix/lib/quillmere/quillmere" ] || fail "expected one window titled Quillmere of $prefix, found: $found"
    [ ! -s "$scratch/err" ] || fail "the program printed: $(cat "$scratch/err")"
    ;;
uninstall)
    export HOME=$scratch/home
    prefix=$HOME/.local list=$HOME/.local/lib/quillmere/data/nouns-ect.quillmere
    man=$prefix/share/man/man1/quillmere.1
    mkdir -p "$prefix/share/applications" "${man%/*}" && echo other >"$prefix/share/applications/other.desktop"
    installer() { BUILD_DIR=$build "$src/scripts/installer" "$1" "$prefix" >"$scratch/out" 2>&1; }
    remaining() { (cd "$HOME" && find . | sort | tr '\n' ' '); }
    echo other >"$man"
    ! installer install && grep -qxF "  $man" "$scratch/out" && [ ! -e "$prefix/bin" ] ||
        fail "make install over a file of another program: $(cat "$scratch/out")"
    rm "$man"
    installer install || fail "make install: $(cat "$scratch/out")"
    [ "$(readlink "$prefix/bin/quillmere")" = ../lib/quillmere/quillmere ] || fail "no bin/quillmere symlink"
    grep -qx "Exec=$prefix/bin/quillmere" "$prefix/share/applications/$id.desktop" || fail "menu entry does not start $prefix/bin/quillmere"
    [ "$(tail -n 1 "$scratch/out")" = '    PATH="$HOME/.local/bin:$PATH"' ] ||
        fail "make install does not end with the line for ~/.profile: $(cat "$scratch/out")"
    echo "Lost Kingdom" >>"$list"
    for run in first second; do
        installer install && grep -qxF "  $list  (new: nouns-ect.quillmere.dist)" "$scratch/out" ||
            fail "$run make install over an edited list: $(cat "$scratch/out")"
        [ "$(tail -n 1 "$list")" = "Lost Kingdom" ] && cmp -s "$list.dist" "$src/data/nouns-ect.quillmere" ||
            fail "$run make install: the list lost its edit, or its .dist is not the new version"
    done
    cp "$list.dist" "$list" && installer install && [ ! -e "$list.dist" ] ||
        fail "a .dist stays after its list took the new version: $(cat "$scratch/out")"
    echo "Lost Kingdom" >>"$list"
    kept=". ./.local ./.local/lib ./.local/lib/quillmere ./.local/lib/quillmere/data ./.local/lib/quillmere/data/nouns-ect.quillmere ./.local/share ./.local/share/applications ./.local/share/applications/other.desktop ./.local/share/man ./.local/share/man/man1 "
    installer uninstall && grep -qF "$list" "$scratch/out" || fail "make uninstall did not name the kept list: $(cat "$scratch/out")"
    [ "$(remaining)" = "$kept" ] || fail "after make uninstall with an edited list: $(remaining)"
    # Installed again over the list that uninstall kept, which no record knows.
    installer install && installer uninstall && grep -qF "$list" "$scratch/out" && [ "$(remaining)" = "$kept" ] ||
        fail "make install and uninstall over a kept list: $(remaining) $(cat "$scratch/out")"
    rm -r "${prefix:?}/lib"
    installer install && installer install && installer uninstall || fail "install, install, uninstall: $(cat "$scratch/out")"
    [ "$(remaining)" = ". ./.local ./.local/share ./.local/share/applications ./.local/share/applications/other.desktop ./.local/share/man ./.local/share/man/man1 " ] ||
        fail "after make uninstall: $(remaining)"
    ! installer uninstall || fail "a second make uninstall claimed success"
    ;;
package)
    cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/out" 2>&1 || fail "cpack: $(cat "$scratch/out")"
    deb=$(echo "$scratch"/quillmere_"$version"_*.deb)
    [ -f "$deb" ] || fail "no quillmere_${version}_*.deb"
    mkdir "$scratch/x" && dpkg-deb -x "$deb" "$scratch/x"
    diff <({ expected_files .gz "$scratch/x/usr"; printf '%s\n' share/doc/quillmere/{copyright,changelog.gz} \
        "lib/quillmere/data -> /etc/quillmere/data"; } | sort) \
        <(found_files "$scratch/x/usr" | sort) || fail "packaged files differ (< expected, > packaged)"
    diff <(word_lists "$src/data") <(word_lists "$scratch/x/etc/quillmere/data") || fail "packaged word lists differ"
    diff <(word_lists "$src/data" | sed 's|^\.|/etc/quillmere/data|') <(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles) ||
        fail "the conffiles are not the twenty word lists in /etc/quillmere/data"
    contents=$(dpkg-deb --contents "$deb")
    grep -q ' \./usr/bin/quillmere -> \.\./lib/quillmere/quillmere$' <<<"$contents" || fail "no relative /usr/bin/quillmere symlink"
    grep -v '^drwxr-xr-x root/root \|^-rw-r--r-- root/root \|^lrwxrwxrwx root/root \|^-rwxr-xr-x root/root .* \./usr/lib/quillmere/quillmere' <<<"$contents" &&
        fail "entries with unusual owners or modes"
    depends=$(dpkg-deb --field "$deb" Depends)
    for dep in fonts-liberation libqt6widgets6 libqt6gui6 libchm1 libc6; do
        [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
    done
    [ "$(dpkg-deb --field "$deb" Section)" = utils ] || fail "section"
    [ "$(dpkg-deb --field "$deb" Maintainer)" = "Quillmere maintainers <quillmere@users.noreply.github.com>" ] ||
        fail "maintainer: $(dpkg-deb --field "$deb" Maintainer)"
    [ "$(dpkg-deb --field "$deb" Recommends)" = libxcursor1 ] || fail "recommends: $(dpkg-deb --field "$deb" Recommends)"
    zcat "$scratch/x/usr/share/doc/quillmere/changelog.gz" | head -n 1 | grep -q "^quillmere ($version)" ||
        fail "the changelog does not start with version $version"
    if ! out=$(lintian --fail-on error,warning "$deb" 2>&1); then fail "lintian: $out"; fi
    ;;
*) fail "unknown check $check" ;;
esac
