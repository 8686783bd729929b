# The two commands a newcomer needs: `make run` and `make test`.
# Both install any missing Debian packages first, then configure and build (Release).
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test package bench assets clean

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

# kravelon_VERSION_ARCH.deb in the build folder.
package: build
	@cmake --build $(BUILD) --target package

bench: build
	@bash bench/run.sh $(BUILD)

# Regenerates every picture, sound, the cursor and the icons under assets/ (byte for byte the same).
assets: build
	./$(BUILD)/kravelon-assetgen assets

clean:
	rm -rf $(BUILD)
