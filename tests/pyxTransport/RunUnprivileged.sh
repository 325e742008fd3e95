#!/bin/sh
# Runs a test program as an unprivileged user (nobody, 65534) when started as root, else as it is. Root
# passes a tty's exclusive mode, so a port left locked after its close only shows for other users.
# A program that user cannot reach where it lies (a build folder under /root, say) runs from a copy.
if [ "$(id -u)" -ne 0 ]; then
  exec "$@"
fi
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; }
program=$1
shift
if ! as_nobody test -x "$program"; then
  copy_dir=$(mktemp -d)
  trap 'rm -rf "$copy_dir"' EXIT
  chmod 755 "$copy_dir"
  cp "$program" "$copy_dir/"
  program=$copy_dir/$(basename "$program")
fi
as_nobody "$program" "$@"
