# make test: install what is missing, build with two jobs, run every test.
# make run:  install, build, start the program on the demo project.

BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build test fuzz run sanitize format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The fuzz targets run briefly first (when clang is there), so ctest's summary comes last.
FUZZ_SECONDS ?= 5

test: build
	@scripts/run-fuzz $(FUZZ_SECONDS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@if [ ! -f $(BUILD)/demo/DATA/demo.CFG ]; then $(BUILD)/bin/ledcaption-cli new $(BUILD)/demo; fi
	@$(BUILD)/bin/ledcaption-cli info $(BUILD)/demo/DATA/demo.CFG

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DLEDCAPTION_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"

fuzz:
	@scripts/run-fuzz 60

format:
	@find src tests -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-fuzz build-asan
