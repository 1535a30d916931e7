#!/usr/bin/env bash
# A private MariaDB instance in one folder: its own data directory, a unix
# socket and no TCP port, root without password, table names compared without
# case. Usage: mariadb-private.sh start|stop|status|socket DIR
# KELDA_DB_POOL: the InnoDB buffer pool of a server it starts (128M); a
# benchmark's large database needs one that holds its data.
set -euo pipefail

cmd=${1:?start|stop|status|socket}
dir=$(mkdir -p "${2:?folder}" && cd "$2" && pwd)
data=$dir/data
pidfile=$dir/mariadbd.pid
log=$dir/mariadbd.log

# A unix socket path is limited to about 100 bytes; a deep build folder puts
# the socket in a short folder of its own instead.
socket_path() {
    local s=$dir/mysqld.sock
    if [ ${#s} -gt 100 ]; then
        local key
        key=$(printf '%s' "$dir" | md5sum | cut -c1-12)
        mkdir -p "/tmp/kelda-db-$key"
        s=/tmp/kelda-db-$key/mysqld.sock
    fi
    printf '%s\n' "$s"
}
sock=$(socket_path)

find_bin() {
    local b
    for b in "$@"; do
        if command -v "$b" >/dev/null 2>&1; then command -v "$b"; return 0; fi
        for p in /usr/sbin /usr/bin /usr/local/sbin; do
            [ -x "$p/$b" ] && { echo "$p/$b"; return 0; }
        done
    done
    return 1
}

alive() {
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

ping_ok() {
    "$(find_bin mariadb-admin mysqladmin)" --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1
}

case $cmd in
socket)
    echo "$sock"
    ;;
status)
    alive && ping_ok && echo "running on $sock" || { echo "stopped"; exit 1; }
    ;;
start)
    echo "$sock" >"$dir/socket.path"
    if alive && ping_ok; then
        echo "$sock"
        exit 0
    fi
    user_opt=()
    [ "$(id -u)" = 0 ] && user_opt=(--user=root)
    # A temporary folder of its own, for the installation too: several
    # instances on one machine must not meet in /tmp with their on-disk
    # temporary tables.
    mkdir -p "$dir/tmp"
    if [ ! -d "$data/mysql" ]; then
        rm -rf "$data"
        mkdir -p "$data"
        "$(find_bin mariadb-install-db mysql_install_db)" --no-defaults --datadir="$data" \
            "${user_opt[@]}" --auth-root-authentication-method=normal --skip-test-db \
            --skip-name-resolve --tmpdir="$dir/tmp" >"$dir/install.log" 2>&1 ||
            { cat "$dir/install.log" >&2; exit 1; }
    fi
    rm -f "$sock"
    setsid "$(find_bin mariadbd mysqld)" --no-defaults --datadir="$data" "${user_opt[@]}" \
        --socket="$sock" --tmpdir="$dir/tmp" --skip-networking --pid-file="$pidfile" --log-error="$log" \
        --lower-case-table-names=1 --character-set-server=utf8mb3 \
        --innodb-buffer-pool-size="${KELDA_DB_POOL:-128M}" --innodb-log-file-size=48M \
        --innodb-flush-log-at-trx-commit=2 --skip-log-bin --max-connections=200 \
        </dev/null >/dev/null 2>&1 &
    for _ in $(seq 1 120); do
        ping_ok && { echo "$sock"; exit 0; }
        sleep 0.5
    done
    echo "MariaDB did not start; its log follows:" >&2
    tail -n 30 "$log" >&2 || true
    exit 1
    ;;
stop)
    if alive; then
        pid=$(cat "$pidfile")
        kill "$pid"
        for _ in $(seq 1 120); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.5
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
    ;;
*)
    echo "usage: $0 start|stop|status|socket DIR" >&2
    exit 2
    ;;
esac
