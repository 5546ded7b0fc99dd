# shellcheck shell=bash
# Sourced by scripts/test.sh: an i386 Debian tree with 32-bit Wine, in which the x86 exe and its
# tests run (Debian's host Wine is 64-bit only). The tree is made once per machine and reused by
# every checkout: it is about 1.3 GB and takes minutes to make, so it lives in the user's cache
# folder, not under build/, and survives a clean build.
#
#   i386_runs DIR                true when this machine runs 32-bit Linux programs at all (DIR:
#                                where the probe may be written and run)
#   i386_tree_ensure             prints the ready tree's path, making the tree first if needed
#   i386_tree_run TREE DIR CMD   runs CMD in the tree, with DIR visible at the same path
# Needs root (or sudo) for debootstrap, unshare and chroot.

i386_tree_root=${XDG_CACHE_HOME:-$HOME/.cache}/brushwick
# Bump when the recipe changes, so that a tree made by an older recipe is not taken as ready.
i386_tree_name=i386-bookworm-1
i386_tree_arch=i386
# Wine, its fonts (Tahoma among them) and the fonts the host's Wine gets, X, and ctest.
i386_tree_packages="wine wine32 fonts-wine fonts-liberation xvfb xauth cmake"

i386_sudo=()
[ "$(id -u)" -eq 0 ] || i386_sudo=(sudo)

# A 96-byte static i386 program that exits with status 42 (Linux int 0x80 exit). A kernel without
# 32-bit support refuses to start it.
i386_runs() {
  local probe status=0
  probe=$(mktemp -p "$1" i386-probe.XXXXXX)
  {
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'
    printf '\x00\x00\x00\x00'
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
  } >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  [ "$status" -eq 42 ]
}

# The Debian mirror apt is already configured with (one-line or deb822 sources).
i386_mirror() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -E 's/\[[^]]*\]//' "$f" | awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }'
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         { types = uris = suites = ""
           for (n = 1; n <= NF; n++) {
             if ($n ~ /^Types:/) types = $n
             if ($n ~ /^URIs:/) uris = $n
             if ($n ~ /^Suites:/) suites = $n
           }
           if (types ~ /[ \t]deb([ \t]|$)/ && suites ~ /[ \t]bookworm([ \t]|$)/) {
             split(uris, u, /[ \t]+/); print u[2]; exit
           } }' "$f"
  done
}

# i386_enter TREE [unshare options...] -- CMD...: CMD in TREE, in private mount and process
# namespaces (so no mount and no process outlives it) with the tree's own /proc, /dev, /sys and
# an empty /tmp.
i386_enter() {
  local tree=$1 opts=()
  shift
  while [ "$1" != -- ]; do opts+=("$1"); shift; done
  shift
  "${i386_sudo[@]}" unshare -m -p -f "${opts[@]}" sh -c '
    set -e
    t=$1 bind=$2
    shift 2
    mount --make-rprivate /
    mount -t proc proc "$t/proc"
    mount --rbind /dev "$t/dev"
    mount -t tmpfs tmpfs "$t/dev/shm"
    mount -t sysfs sys "$t/sys"
    mount -t tmpfs tmpfs "$t/tmp"
    if [ -n "$bind" ]; then
      mkdir -p "$t$bind"
      mount --bind "$bind" "$t$bind"
    fi
    exec chroot "$t" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin:/usr/sbin:/sbin LANG=C.UTF-8 "$@"
  ' sh "$tree" "${I386_BIND:-}" "$@"
}

i386_tree_ensure() {
  local final=$i386_tree_root/$i386_tree_name
  if [ -d "$final" ]; then
    echo "$final"
    return 0
  fi
  mkdir -p "$i386_tree_root"
  # One maker at a time; a tree is only ever renamed into place once it is complete, so an
  # interrupted run leaves nothing that looks ready, only a work folder that the next maker removes.
  (
    flock 9
    [ -d "$final" ] && exit 0
    "${i386_sudo[@]}" rm -rf "$i386_tree_root/$i386_tree_name".work.*
    local work mirror
    work=$(mktemp -d "$i386_tree_root/$i386_tree_name.work.XXXXXX")
    chmod 755 "$work"  # apt inside drops to its own user, which must reach its folders
    mirror=$(i386_mirror | head -n 1)
    [ -n "$mirror" ] || { echo "i386 tree: no Debian bookworm mirror in /etc/apt/sources.list*" >&2; exit 1; }
    echo "i386 tree: making $final from $mirror (once per machine, a few minutes)" >&2
    "${i386_sudo[@]}" debootstrap --variant=minbase --arch="$i386_tree_arch" bookworm "$work" "$mirror" >"$work.log" 2>&1 ||
      { echo "i386 tree: debootstrap failed, see $work.log" >&2; exit 1; }
    "${i386_sudo[@]}" cp /etc/resolv.conf "$work/etc/resolv.conf"
    # shellcheck disable=SC2086  # the package list is words
    I386_BIND='' i386_enter "$work" -- sh -c "apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $i386_tree_packages &&
      apt-get clean" >>"$work.log" 2>&1 ||
      { echo "i386 tree: installing $i386_tree_packages failed, see $work.log" >&2; exit 1; }
    "${i386_sudo[@]}" mv -T "$work" "$final"
    "${i386_sudo[@]}" rm -f "$work.log"
  ) 9>"$i386_tree_root/$i386_tree_name.lock" || return 1
  echo "$final"
}

# i386_tree_run TREE DIR CMD...: also without a network (the tests need none, and the run's Xvfb
# then cannot meet another display on the machine's abstract sockets).
i386_tree_run() {
  local tree=$1 dir=$2
  shift 2
  I386_BIND=$dir i386_enter "$tree" -n -- "$@"
}
