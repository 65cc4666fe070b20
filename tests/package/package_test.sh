#!/bin/sh
# Checks of the Debian package.
#   package_test.sh build DEB CPACK CONFIG
#     Makes DEB (in a fresh folder) with cpack and the given configuration.
#   package_test.sh contents|version|scan DEB VERSION WITH_DESKTOP SOURCE_DIR
#     contents: the control fields, and every path the package installs (all under /usr).
#     version:  the unpacked tarvik-scan --version prints "tarvik-scan VERSION".
#     scan:     the unpacked tarvik-scan (and tarvik, without a display, when the package holds
#               it) scans a copy of the example file, which passes.
# Each unpacks the package with dpkg-deb -x into its own temporary folder. Exits 77 (skipped)
# when dpkg's tools are not installed.
set -u
mode=$1
deb=$2
for tool in dpkg dpkg-deb; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

if [ "$mode" = build ]; then
  cpack=$3
  config=$4
  command -v dpkg-shlibdeps >/dev/null 2>&1 || { echo "dpkg-shlibdeps is not installed (dpkg-dev)"; exit 77; }
  dir=$(dirname "$deb")
  rm -rf "$dir"
  mkdir -p "$dir"
  if ! "$cpack" --config "$config" -B "$dir" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack could not make the package"
  elif [ ! -f "$deb" ]; then
    cat "$work/cpack.log"
    fail "cpack did not write $deb"
  else
    echo "made $deb"
  fi
  exit $status
fi

version=$3
with_desktop=$4
source_dir=$5
[ -f "$deb" ] || { echo "FAIL: $deb was not made (see the test package.build)"; exit 1; }
root="$work/root"
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x $deb"; exit 1; }
example=TARVIK-EXAMPLE_DC8_20190521_R0.ict

case $mode in
contents)
  arch=$(dpkg --print-architecture)
  [ "$(basename "$deb")" = "tarvik_${version}_${arch}.deb" ] || fail "the package is named $(basename "$deb")"
  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = tarvik ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
  [ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture), not $arch"
  [ "$(field Section)" = science ] || fail "Section: $(field Section)"
  field Maintainer | grep -qE '^[^<]+ <[^@ ]+@[^@ ]+>$' || fail "Maintainer: $(field Maintainer)"
  [ -n "$(field Description | head -1)" ] || fail "the Description has no summary line"
  depends=$(field Depends)
  # dpkg-shlibdeps names the package of each shared library the programs use.
  echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' >"$work/depends"
  needed="libc6 libstdc++6"
  [ "$with_desktop" = 1 ] && needed="$needed libqt6widgets6 libqt6printsupport6"
  for lib in $needed; do
    grep -qxF "$lib" "$work/depends" || fail "Depends lacks $lib: $depends"
  done
  if [ "$with_desktop" = 1 ]; then
    grep -q '^libqcustomplot' "$work/depends" || fail "Depends lacks QCustomPlot: $depends"
  else
    grep -qi qt "$work/depends" && fail "a package without the desktop depends on Qt: $depends"
  fi

  dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||; s|/$||' | grep -v '^$' | sort >"$work/paths"
  grep -v -e '^usr$' -e '^usr/' "$work/paths" >"$work/outside" && fail "paths outside /usr: $(cat "$work/outside")"
  expected="usr/bin/tarvik-scan usr/share/man/man1/tarvik-scan.1.gz usr/share/doc/tarvik/README.md"
  desktop="usr/bin/tarvik usr/share/man/man1/tarvik.1.gz usr/share/applications/tarvik.desktop
    usr/share/icons/hicolor/scalable/apps/tarvik.svg usr/share/icons/hicolor/64x64/apps/tarvik.png
    usr/share/icons/hicolor/128x128/apps/tarvik.png"
  for path in $expected; do
    grep -qx "$path" "$work/paths" || fail "the package lacks /$path"
  done
  for path in $desktop; do
    if [ "$with_desktop" = 1 ]; then
      grep -qx "$path" "$work/paths" || fail "the package lacks /$path"
    else
      grep -qx "$path" "$work/paths" && fail "a package without the desktop holds /$path"
    fi
  done
  # The site pages: exactly the files of docs/site.
  (cd "$source_dir/docs/site" && find . -type f | sed 's|^\./|usr/share/tarvik/site/|' | sort) >"$work/site.expected"
  grep '^usr/share/tarvik/site/' "$work/paths" | while read -r p; do [ -f "$root/$p" ] && echo "$p"; done |
    sort >"$work/site.packaged"
  diff "$work/site.expected" "$work/site.packaged" >"$work/site.diff" ||
    fail "the site pages differ from docs/site: $(cat "$work/site.diff")"
  for program in tarvik-scan tarvik; do
    [ -e "$root/usr/bin/$program" ] || continue
    [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program is not executable"
    gzip -dc "$root/usr/share/man/man1/$program.1.gz" | grep -q "^\.TH .*\"Tarvik $version\"" ||
      fail "the manual page of $program does not name version $version"
  done
  if [ "$with_desktop" = 1 ]; then
    entry="$root/usr/share/applications/tarvik.desktop"
    grep -qx 'Icon=tarvik' "$entry" || fail "the desktop entry has no Icon=tarvik"
    grep -q '^Exec=tarvik' "$entry" || fail "the desktop entry does not run tarvik"
  fi
  ;;
version)
  out=$("$root/usr/bin/tarvik-scan" --version 2>&1)
  rc=$?
  [ $rc -eq 0 ] || fail "tarvik-scan --version ended with status $rc"
  [ "$out" = "tarvik-scan $version" ] || fail "tarvik-scan --version printed '$out', not 'tarvik-scan $version'"
  ;;
scan)
  programs=tarvik-scan
  [ "$with_desktop" = 1 ] && programs="tarvik-scan tarvik"
  for program in $programs; do
    mkdir -p "$work/$program"
    file="$work/$program/$example"
    cp "$source_dir/examples/$example" "$file"
    # Without a display, tarvik runs the tarvik-scan of its own folder.
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" "$file" >"$work/out" 2>"$work/err"
    rc=$?
    expected="PASS  $file  report: ${file}__diagnostic.htm"
    [ $rc -eq 0 ] || fail "$program ended with status $rc: $(cat "$work/out" "$work/err")"
    [ "$(cat "$work/out")" = "$expected" ] || fail "$program printed '$(cat "$work/out")', not '$expected'"
    grep -q "Good Job - no major errors encountered during SCAN." "${file}__diagnostic.htm" ||
      fail "the report of $program has no passing verdict"
    cmp -s "$source_dir/examples/$example" "$file" || fail "$program changed the example file"
  done
  ;;
*)
  echo "unknown mode $mode"
  exit 2
  ;;
esac
[ $status -eq 0 ] && echo "package $mode: ok"
exit $status
