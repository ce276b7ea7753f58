# Thin wrapper around CMake. `make test` configures, builds and runs every test; `make run` builds
# the program and runs it, on a demo collection when ARGS is empty. `make windows` cross-compiles
# vantorel.exe with MinGW-w64; `make windows-test` also builds the Windows tests and runs them
# under Wine.
BUILD_DIR ?= build
CMAKE_ARGS ?=
PREFIX ?= /usr/local
ARGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

VANTOREL := $(BUILD_DIR)/main/vantorel
WINDOWS_BUILD_DIR ?= build-windows
WINDOWS_CMAKE_ARGS ?=
DEMO_DIR := $(BUILD_DIR)/demo
DEMO_ARGS := $(DEMO_DIR)/Films $(DEMO_DIR)/Music $(DEMO_DIR)/Photos 4482Mb

.PHONY: all configure build test bench bench-search run demo install format clean windows \
	windows-configure windows-test

all: build

configure:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Reading speed against du on a generated tree of 200,000 files; see bench/README.md.
bench: build
	bash bench/scan-vs-du.sh $(BUILD_DIR)

# The search against visiting every combination and against CBC; see bench/README.md.
bench-search: build
	$(BUILD_DIR)/bench/search_bench $(ARGS)

demo:
	bash tools/make-demo.sh $(DEMO_DIR)

ifeq ($(strip $(ARGS)),)
run: configure demo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vantorel
	$(VANTOREL) $(DEMO_ARGS)
else
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vantorel
	$(VANTOREL) $(ARGS)
endif

install: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target vantorel
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

windows-configure:
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		$(WINDOWS_CMAKE_ARGS)

# Only the program: $(WINDOWS_BUILD_DIR)/main/vantorel.exe.
windows: windows-configure
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS) --target vantorel

windows-test: windows-configure
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(WINDOWS_BUILD_DIR) --output-on-failure

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR)
