#!/bin/sh
# Runs a test program as an unprivileged user (nobody, 65534) when started as root, else as it is. Root
# passes a tty's exclusive mode, so a port left locked after its close only shows for other users. The
# program and the sources it reads must be readable by that user.
if [ "$(id -u)" -eq 0 ]; then
  exec setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
fi
exec "$@"
