# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SAN_BUILD ?= build-asan
RELEASE_BUILD ?= build-release
FUZZ_SECONDS ?= 20
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build install run check test format-check fuzz sanitize release bench artwork screenshots measure format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@if ! grep -qs '^CALVIRA_WERROR:BOOL=ON' $(BUILD)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD) -G Ninja -DCALVIRA_WERROR=ON; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The programs, menu entry, icons, metainfo, manual pages and licence under PREFIX
# (DESTDIR=... stages them for a package).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Opens the program's window on the desktop (CALVIRA_SCALE=1..6 fixes its size).
run: build
	$(BUILD)/src/calvira

# The quick loop: one build, the unit and scenario tests, no fuzzing, sanitizers or X server.
check: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE x11

# Everything, as CI runs it. The fuzzers and the sanitizer run come first so that the main test
# run's summary closes the output.
test: format-check build fuzz sanitize release
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

SOURCES = find src tools tests bench fuzz resources -name '*.cpp' -o -name '*.h'

format-check: deps
	@$(SOURCES) | xargs clang-format --dry-run --Werror

# Every test again, built with the address and undefined-behaviour sanitizers.
sanitize: deps
	@if [ ! -f $(SAN_BUILD)/build.ninja ]; then \
	  cmake -S . -B $(SAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALVIRA_BUILD_BENCH=OFF -DCALVIRA_WERROR=ON \
	    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
	    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"; fi
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

fuzz: deps
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCALVIRA_FUZZ_ONLY=ON -DCALVIRA_WERROR=ON; fi
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  log="$$f.log"; \
	  echo "Fuzzing $$(basename $$f) for $(FUZZ_SECONDS) s"; \
	  if ! "$$f" -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/ >"$$log" 2>&1; then \
	    tail -n 40 "$$log"; echo "$$(basename $$f) failed; the input is in $(FUZZ_BUILD)/"; exit 1; \
	  fi; \
	  tail -n 1 "$$log"; \
	done

# The two programs as a packager builds them (Release: -O3, other warnings than -O2 gives).
release: deps
	@if [ ! -f $(RELEASE_BUILD)/build.ninja ]; then \
	  cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCALVIRA_WERROR=ON \
	    -DCALVIRA_BUILD_TESTS=OFF -DCALVIRA_BUILD_BENCH=OFF; fi
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target calvira calvira-data

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# The screenshots of the README, taken by the scenario tests on the headless display.
screenshots: build
	CALVIRA_SCREENSHOT_DIR=$(CURDIR)/docs/screenshots $(BUILD)/tests/tests_scenarios

# Idle processor use, the About animation's timing and the start-up time, on the real program
# under Xvfb.
measure: build
	scripts/measure.sh $(BUILD)

# Redraws every picture under resources/images, the contact sheet and the desktop icons under
# resources/icons from tools/artwork.
artwork: configure
	cmake --build $(BUILD) --target calvira-artwork
	$(BUILD)/tools/artwork/calvira-artwork resources/images docs/images/contact-sheet.png
	$(BUILD)/tools/artwork/calvira-artwork --icons resources/icons

format:
	$(SOURCES) | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SAN_BUILD) $(RELEASE_BUILD)
