# Voveriz front door. Each target installs what is missing first, so it works on a fresh Debian 12.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench screenshot clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@scripts/run-window $(BUILD_DIR)/src/voveriz

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@bench/run $(BUILD_DIR)

screenshot: build
	@scripts/screenshot $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR)
