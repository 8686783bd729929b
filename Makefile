# The two commands a newcomer needs: `make run` and `make test`.
# Both install any missing Debian packages first, then configure and build (Release).
BUILD ?= build
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
# Seconds each fuzz target runs under `make fuzz`.
FUZZ_SECONDS ?= 180
# Events the long storm of `make soak` sends (the test suite's storm sends a few thousand).
SOAK_EVENTS ?= 60000

.PHONY: all deps configure build run test test-sanitize fuzz soak package bench assets clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kravelon

# The tests build the Debian package too (the same target as `make package`) and check it.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j 2

# The whole suite again with address and undefined-behaviour sanitizers, the game included.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKRAVELON_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j 2

# libFuzzer on each loader and parser for FUZZ_SECONDS (clang, in a build folder of its own).
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKRAVELON_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_jpeg fuzz_bmp fuzz_cursor fuzz_wave \
	  fuzz_catalogue fuzz_settings fuzz_record
	bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A long storm of random input through every state of the game.
soak: build
	KRAVELON_STORM_EVENTS=$(SOAK_EVENTS) ./$(BUILD)/tests/window/window_StormTest

# kravelon_VERSION_ARCH.deb in the build folder.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@bash bench/run.sh $(BUILD)

# Regenerates every picture, sound, the cursor and the icons under assets/ (byte for byte the same).
assets: build
	./$(BUILD)/kravelon-assetgen assets

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
