# The two commands a newcomer needs: `make run` and `make test`.
# Both install any missing Debian packages first, then configure and build (Release).
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench assets clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kravelon

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j 2

bench: build
	@bash bench/run.sh $(BUILD)

# Regenerates every picture, sound and the cursor under assets/ (byte for byte the same).
assets: build
	./$(BUILD)/kravelon-assetgen assets

clean:
	rm -rf $(BUILD)
