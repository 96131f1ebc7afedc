# make run    - install what is missing, build the program and its help, start it
# make test   - install what is missing, build everything, run every test headless;
#               with PostgreSQL installed (scripts/install-deps.sh --server) the
#               window's tests run a second time on a throwaway server database
#               (ctest -L server: only those; -LE server: all but those)
# make beispieldaten - build the sample-data tool build/tools/kalvoria_beispieldaten
# make bilder - retake the pictures of the program in docs/bilder (headless)
# make bench  - the same set-up with the benchmark libraries, then the benchmarks
#               of the real operations on the sample databases (never in make test);
#               BENCH_ARGS="--umfang=familie --runden=2" narrows a run; with
#               pg_virtualenv at hand, also on a throwaway PostgreSQL server
#               (BENCH_ARGS=--ohne-server leaves that out)
# make format - apply .clang-format to every source (make format-check: only check)
# make install - build, then install into PREFIX (default /usr/local; DESTDIR stages)
# make deb    - the Debian package build-deb/kalvoria_<version>-1_<arch>.deb
# make deb-check - make deb, then lintian, the desktop and AppStream validators, and
#               the unpacked package's programs started headless (scripts/paket-pruefen.sh)
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

# Configure runs only for a new build folder or a changed CMakeLists.txt;
# anything else that changes is caught by cmake's own check during the build.
# CMAKE_FLAGS take effect when configure runs (after "make clean", say).
CMAKELISTS := $(wildcard CMakeLists.txt */CMakeLists.txt)

PREFIX ?= /usr/local

.PHONY: deps build program run test test-asan test-qt6 beispieldaten bilder bench format format-check install deb \
	deb-check clean

deps:
	@scripts/install-deps.sh

# deps is order-only: it runs first every time, without forcing a configure.
# A failed configure leaves no cache, so the next call tries again.
build/CMakeCache.txt: $(CMAKELISTS) | deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) || { rm -f $@; exit 1; }
	@touch $@

build: build/CMakeCache.txt
	cmake --build build -j $(JOBS)

# Only what running needs: the program and the help document beside it.
program: build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target kalvoria hilfe

run: program
	./build/kalvoria

test: build
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORIA_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE server

test-qt6:
	@scripts/install-deps.sh --qt6
	cmake -S . -B build-qt6 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORIA_QT6=ON $(CMAKE_FLAGS)
	cmake --build build-qt6 -j $(JOBS)
	cd build-qt6 && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE server

beispieldaten: build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target kalvoria_beispieldaten_werkzeug

bilder: build/CMakeCache.txt
	cmake --build build -j $(JOBS) --target bilder

# The bench's PostgreSQL column runs on a throwaway cluster (pg_virtualenv -t,
# from scripts/install-deps.sh --server), written to its disk as a server's
# would be and asking a password on its socket as well, as the program's
# users connect (so pg_virtualenv's own first check, made without one, warns
# that it failed: harmless); without pg_virtualenv the bench says why it has
# no column.
BENCH_SERVER = $(if $(findstring --ohne-server,$(BENCH_ARGS)),,$(if $(shell command -v pg_virtualenv),\
	pg_virtualenv -t -o fsync=on -i '--auth-local=scram-sha-256 --auth-host=scram-sha-256'))

bench:
	@scripts/install-deps.sh --bench
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORIA_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS) --target kalvoria_bench
	QT_QPA_PLATFORM=offscreen $(BENCH_SERVER) ./build/bench/kalvoria_bench $(BENCH_ARGS)

install: build
	cmake --install build --prefix $(PREFIX)

# A build of its own, without the tests, with Debian's compiler and linker
# flags (hardening included), installed under /usr in the package.
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
deb:
	@scripts/install-deps.sh --paket
	cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=None -DKALVORIA_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
		"-DCMAKE_CXX_FLAGS=$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
		"-DCMAKE_EXE_LINKER_FLAGS=$$($(DEB_FLAGS) LDFLAGS)" $(CMAKE_FLAGS)
	cmake --build build-deb -j $(JOBS)
	rm -f build-deb/kalvoria_*.deb
	cd build-deb && cpack -G DEB

deb-check: deb
	scripts/paket-pruefen.sh build-deb

format:
	@scripts/install-deps.sh --format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

format-check:
	@scripts/install-deps.sh --format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

clean:
	rm -rf build build-asan build-qt6 build-deb
