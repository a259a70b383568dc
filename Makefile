# Voveriz front door. Each target installs what is missing first, so it works on a fresh Debian 12.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test test-debian13 test-sanitize fuzz bench screenshot package clean

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

# The whole suite again on Debian 13, in a root made once with debootstrap and kept outside the
# clone (scripts/in-debian13), built in its own folder. Needs root or sudo.
DEBIAN13_BUILD_DIR ?= build-debian13

test-debian13:
	@scripts/in-debian13 scripts/install-deps
	@scripts/in-debian13 $(MAKE) --no-print-directory test BUILD_DIR=$(DEBIAN13_BUILD_DIR)

# The same tests, built with AddressSanitizer, UndefinedBehaviorSanitizer and leak checking.
SANITIZE_DIR ?= build-sanitize
SANITIZER_ENV = \
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:print_stacktrace=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:suppressions=$(CURDIR)/tests/sanitizers/ubsan.supp \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOVERIZ_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# The engine's libFuzzer target (clang), FUZZ_SECONDS on one core from a generated seed corpus.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 300

fuzz: deps
	@cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_DIR)
	@fuzz/run $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	@bench/run $(BUILD_DIR)

screenshot: build
	@scripts/screenshot $(BUILD_DIR)

# The Debian package, $(BUILD_DIR)/voveriz_VERSION-RELEASE_ARCH.deb (CPack; cmake/Packaging.cmake).
package: build
	@cmake --build $(BUILD_DIR) --target package

clean:
	@rm -rf $(BUILD_DIR)
