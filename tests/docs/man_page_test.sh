#!/bin/sh
# Checks of the manual pages.
#   man_page_test.sh render PAGE...
#     Each page (roff source or gzipped) renders with groff's every warning enabled and through
#     man -l, with nothing on standard error, and shows its NAME and SYNOPSIS sections.
#   man_page_test.sh options PAGE PROGRAM
#     Every option that PROGRAM --help lists has an entry in the OPTIONS section of PAGE.
# Exits 77 (skipped) when groff is not installed.
set -u
command -v groff >/dev/null 2>&1 || { echo "groff is not installed"; exit 77; }
mode=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

source_of() {  # the page's roff source on stdout
  case $1 in
    *.gz) gzip -dc "$1" ;;
    *) cat "$1" ;;
  esac
}

case $mode in
render)
  for page in "$@"; do
    source_of "$page" >"$work/page" || { echo "FAIL: cannot read $page"; status=1; continue; }
    groff -man -Tutf8 -ww -z "$work/page" 2>"$work/groff.err"
    if [ -s "$work/groff.err" ]; then
      echo "FAIL: groff warns about $page:"
      cat "$work/groff.err"
      status=1
    fi
    if command -v man >/dev/null 2>&1; then
      MANWIDTH=80 MANPAGER=cat PAGER=cat man --warnings -l "$page" >"$work/man.out" 2>"$work/man.err"
      rc=$?
      if [ $rc -ne 0 ] || [ -s "$work/man.err" ]; then
        echo "FAIL: man -l $page ended with status $rc and said:"
        cat "$work/man.err"
        status=1
      fi
      for heading in NAME SYNOPSIS DESCRIPTION; do
        grep -q "^$heading\$" "$work/man.out" || { echo "FAIL: $page shows no $heading section"; status=1; }
      done
    fi
  done
  ;;
options)
  page=$1
  program=$2
  "$program" --help >"$work/help" 2>&1 || { echo "FAIL: $program --help failed"; cat "$work/help"; exit 1; }
  # The option part of each line that starts with an option: up to the first run of two blanks.
  sed -n 's/^[[:space:]]*\(-.*\)$/\1/p' "$work/help" | sed 's/  .*//' |
    grep -oE '(^|[ ,])--?[A-Za-z][A-Za-z0-9-]*' | sed 's/^[ ,]//' | sort -u >"$work/options"
  count=$(wc -l <"$work/options")
  if [ "$count" -lt 3 ]; then
    echo "FAIL: found only $count options in the help of $program:"
    cat "$work/help"
    exit 1
  fi
  source_of "$page" >"$work/page"
  groff -man -Tascii -P-cbou "$work/page" 2>/dev/null |
    sed -n '/^OPTIONS$/,/^[A-Z]/p' >"$work/section"
  while read -r option; do
    # An entry's tag is a line indented by 7 that names the option as a whole word.
    if ! grep -qE "^       (.*[ ,])?$option([ ,=]|\$)" "$work/section"; then
      echo "FAIL: $option (from $program --help) has no entry in the OPTIONS section of $page"
      status=1
    fi
  done <"$work/options"
  [ $status -eq 0 ] && echo "$count options of $program --help are documented in $page"
  ;;
*)
  echo "unknown mode $mode"
  exit 2
  ;;
esac
exit $status
