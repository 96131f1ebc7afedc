#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL cluster of its own
# (pg_virtualenv sets PGHOST, PGPORT, PGUSER and PGPASSWORD for it and
# removes the cluster afterwards). The first argument is the port to try
# first, below the range the system takes ports of outgoing connections
# from (which a listening server cannot share); a port something else
# listens on is passed over, so that tests started side by side, or a
# cluster of another program, never meet.
# The cluster need not survive a crash of the machine: it writes without
# waiting for the disk.
set -euo pipefail
port=$1
shift
belegt() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
while belegt "$port"; do
    port=$((port + 1))
done
exec pg_virtualenv -t -c "-p $port" -o fsync=off -o synchronous_commit=off -o full_page_writes=off "$@"
