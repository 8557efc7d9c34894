#!/bin/sh
# The product is a 32-bit Windows GUI program carrying its version resource.
exe=$1
[ -f "$exe" ] || { echo "missing: $exe"; exit 1; }
kind=$(file -b "$exe")
echo "$kind"
case "$kind" in
  "PE32 executable (GUI) Intel 80386"*) ;;
  *) echo "not a 32-bit GUI executable"; exit 1 ;;
esac
# The version text the program reports to its maker's server, as UTF-16 in the resource.
if ! LC_ALL=C grep -qa "$(printf '1\0.\0002\0.\0008\0.\0000\0')" "$exe"; then
  echo "version 1.2.8.0 not found in the version resource"; exit 1
fi
echo "ok"
