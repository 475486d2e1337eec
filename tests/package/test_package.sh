#!/usr/bin/env bash
# The Debian package as a user gets it: made by CPack from this build, checked
# by lintian, desktop-file-validate and appstreamcli, unpacked into a read-only
# root and started from there with a fresh home, where the programs must keep
# their data.
# Usage: test_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    chmod -R u+w "$work"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/cpack/frostpick_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"

lintian --fail-on error "$deb" || fail "lintian reports errors"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6widgets6 libsqlite3-0 libpq5 fonts-dejavu-core; do
    grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# The programs speak to SQLite and libpq themselves, not through Qt's plugins.
! grep -q libqt6sql6 <<<"$depends" || fail "Depends names a Qt SQL plugin: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
for file in bin/{frostpick,rimehold,frostpick-calc,frostpick-db} share/frostpick/{nv.mdb,order.mdb,netyti.jpg} \
    share/doc/frostpick/{copyright,changelog.gz} share/man/man1/{frostpick-calc,frostpick-db}.1.gz \
    share/icons/hicolor/{48x48/apps/frostpick.png,256x256/apps/rimehold.png}; do
    [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
desktop-file-validate "$usr"/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr"/share/metainfo/*.xml || fail "appstreamcli validate"

chmod -R a-w "$root"
snapshot() { (cd "$root" && find . -printf '%p %s %m\n' | sort && find . -type f -exec sha256sum {} + | sort); }
snapshot >"$work/before"

export QT_QPA_PLATFORM=offscreen
unset XDG_DATA_HOME XDG_CONFIG_HOME
# The programs open the databases for writing, which may touch the file's
# header: the copies must hold the same rows, the pictures the same bytes.
seeded() {
    local data=$1
    for name in nv.mdb order.mdb; do
        [ "$(sqlite3 "file:$usr/share/frostpick/$name?immutable=1" .dump)" = "$(sqlite3 "$data/$name" .dump)" ] ||
            fail "$name not seeded into $data"
    done
    for name in netyti.jpg km.jpg; do
        cmp -s "$usr/share/frostpick/$name" "$data/$name" || fail "$name not seeded into $data"
    done
}
# Starts a GUI program, waits until it holds the database file open, and ends it.
opens() {
    local program=$1 file=$2
    "$usr/bin/$program" >"$work/$program.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    for _ in $(seq 600); do
        if ! kill -0 "$pid" 2>/dev/null; then
            cat "$work/$program.log"
            fail "$program ended at start"
        fi
        if find "/proc/$pid/fd" -lname "$file" 2>/dev/null | grep -q .; then
            kill "$pid"
            wait "$pid" || true
            return 0
        fi
        sleep 0.1
    done
    fail "$program never opened $file"
}

for program in frostpick rimehold; do
    export HOME=$work/home-$program
    opens "$program" "$HOME/.local/share/frostpick/nv.mdb"
    seeded "$HOME/.local/share/frostpick"
done

export HOME=$work/home-calc
data=$HOME/.local/share/frostpick
calc=$usr/bin/frostpick-calc
"$calc" --help | grep -qF "Data folder: $data" || fail "frostpick-calc --help does not name $data"
seeded "$data"
"$calc" --all-orders >"$work/all.json" || fail "frostpick-calc --all-orders"
[ "$(grep -c '"q_total"' "$work/all.json")" -eq "$(sqlite3 "$data/order.mdb" 'SELECT count(*) FROM data')" ] ||
    fail "not every saved calculation was computed"

# The store tool works from the installation: a laptop's copy of the orders.
mkdir -p "$work/copy"
"$usr/bin/frostpick-db" copy "$data/order.mdb" "$work/copy/order.mdb" >/dev/null || fail "frostpick-db copy"
[ "$(sqlite3 "$work/copy/order.mdb" 'SELECT count(*) FROM data')" -eq \
    "$(sqlite3 "$data/order.mdb" 'SELECT count(*) FROM data')" ] || fail "frostpick-db copied other rows"

first=$(sqlite3 "$data/order.mdb" 'SELECT min(pkey) FROM data')
saved=$((first + 1000))
sqlite3 "$data/order.mdb" "CREATE TEMP TABLE c AS SELECT * FROM data WHERE pkey=$first;
    UPDATE c SET pkey=$saved, xk_length=2*xk_length; INSERT INTO data SELECT * FROM c;"
echo "the user's picture" >"$data/km.jpg"
opens frostpick "$data/order.mdb"
opens rimehold "$data/nv.mdb"
"$calc" --order "$saved" >"$work/saved.json" || fail "the saved calculation is lost after a restart"
grep -q "\"xk_length\":$(sqlite3 "$data/order.mdb" "SELECT printf('%g', 2*xk_length) FROM data WHERE pkey=$first")," \
    "$work/saved.json" || fail "the saved calculation came back changed: $(head -c 200 "$work/saved.json")"
[ "$(cat "$data/km.jpg")" = "the user's picture" ] || fail "a second start copied the sample over the user's picture"

snapshot >"$work/after"
diff "$work/before" "$work/after" || fail "something was written under the installation"
echo "package test passed"
