# Every outside package the project needs. The lines starting with "# apt:" are read by
# scripts/deps.sh, so a package added here is installed by scripts/run, scripts/test and CI.
#
# apt: cmake g++ pkg-config ccache
# apt: qt6-base-dev
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Test)
# apt: libsqlite3-dev
find_package(SQLite3 REQUIRED)
# apt: libcurl4-openssl-dev
find_package(CURL REQUIRED)
# apt: libshp-dev
find_package(PkgConfig REQUIRED)
pkg_check_modules(SHAPELIB REQUIRED IMPORTED_TARGET shapelib)
# apt: libgtest-dev libgmock-dev
find_package(GTest REQUIRED)
# apt: libbenchmark-dev
find_package(benchmark REQUIRED)
# Running the program and its window tests without a display, and the locale test.
# apt: xvfb xauth fonts-dejavu-core fonts-dejavu-extra locales
# The independent readers and writers the file-format tests check against: SheetJS (tests/package.json,
# installed by scripts/deps.sh with npm ci, run by nodejs), gnumeric's ssconvert and python3-dbf.
# apt: nodejs gnumeric python3-dbf gzip
# The update server of the FTP tests (a local pyftpdlib server).
# apt: python3-pyftpdlib
# The text report tests read the printed PDF back (pdftotext, pdftoppm).
# apt: poppler-utils
