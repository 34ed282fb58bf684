#!/usr/bin/env bash
# Builds the Debian package tovenla2_<version>_<arch>.deb from the Release build: the files of
# `cmake --install` under /usr, the version the program reports, and the run-time dependencies
# read from the program's own shared libraries. The package goes to $OUT_DIR (default dist/).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/tools/prepare.sh"
OUT_DIR="${OUT_DIR:-$ROOT/dist}"

# dpkg-shlibdeps reads the dependencies; it is only needed here, not by ./run or ./test.
if ! command -v dpkg-shlibdeps >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian package: dpkg-dev (sudo apt-get install dpkg-dev)" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends dpkg-dev
fi

VERSION="$("$BUILD_DIR/tovenla2" --version | awk '{print $2}')"
ARCH="$(dpkg --print-architecture)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
STAGE="$WORK/stage"
DESTDIR="$STAGE" cmake --install "$BUILD_DIR" --prefix /usr --strip >/dev/null

# Qt's libraries, libzip, pugixml and ICU come from the program's own links.
mkdir -p "$WORK/debian"
printf 'Source: tovenla2\n\nPackage: tovenla2\nArchitecture: any\n' >"$WORK/debian/control"
SHLIBS="$(cd "$WORK" && dpkg-shlibdeps -O "$STAGE/usr/bin/tovenla2" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')"
[ -n "$SHLIBS" ] || { echo "dpkg-shlibdeps found no dependencies" >&2; exit 1; }
# What the program loads by name rather than by link: Qt's Japanese texts for its own buttons,
# and the IPA fonts it draws pages and workbooks with in place of the Windows fonts.
DEPENDS="$SHLIBS, qt6-translations-l10n, fonts-ipafont-gothic, fonts-ipafont-mincho"

mkdir -p "$STAGE/DEBIAN"
cat >"$STAGE/DEBIAN/control" <<CONTROL
Package: tovenla2
Version: $VERSION
Architecture: $ARCH
Maintainer: Tovenla2 developers <tovenla2@localhost>
Installed-Size: $(du -sk --exclude=DEBIAN "$STAGE" | cut -f1)
Depends: $DEPENDS
Recommends: libreoffice-calc, xdg-utils
Section: graphics
Priority: optional
Description: site photo albums and electronic delivery
 Tovenla2 assembles site photo albums (写真帳) for survey and public-works offices and
 turns them into their deliverables: printed pages and PDF, Excel workbooks from
 templates, the electronic-delivery PHOTO folder with its check, CD labels and renamed
 photo copies. LibreOffice is needed only for legacy .xls templates.
CONTROL

mkdir -p "$OUT_DIR"
PACKAGE="$OUT_DIR/tovenla2_${VERSION}_${ARCH}.deb"
dpkg-deb --root-owner-group -Zxz --build "$STAGE" "$PACKAGE" >/dev/null
echo "$PACKAGE"
