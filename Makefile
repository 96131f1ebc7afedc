# make run   - install what is missing, build, start the program
# make test  - install what is missing, build, run every test headless
# make bilder - retake the pictures of the program in docs/bilder (headless)
# make bench - the same set-up with the benchmark libraries, then the benchmarks
#              of the real operations on the sample databases (never in make test);
#              BENCH_ARGS="--umfang=familie --runden=2" narrows a run
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps build run test test-asan test-qt6 bilder bench clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

run: build
	./build/kalvoria

test: build
	cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKALVORIA_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-qt6:
	@scripts/install-deps.sh --qt6
	cmake -S . -B build-qt6 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORIA_QT6=ON $(CMAKE_FLAGS)
	cmake --build build-qt6 -j $(JOBS)
	cd build-qt6 && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bilder: build
	cmake --build build --target bilder

bench:
	@scripts/install-deps.sh --bench
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKALVORIA_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS) --target kalvoria_bench
	QT_QPA_PLATFORM=offscreen ./build/bench/kalvoria_bench $(BENCH_ARGS)

clean:
	rm -rf build build-asan build-qt6
