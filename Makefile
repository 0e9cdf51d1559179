# The two entry points. Everything real lives in CMake and scripts/.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)

CONFIGURE = cmake -S . -G Ninja -Wno-dev

.PHONY: all setup build run test test-fast test-sanitize bench clean

all: build

setup:
	@scripts/setup

build: setup
	@$(CONFIGURE) -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The game reads ./data/ and writes ./.zarnikstate, so it starts from the
# build folder, where the generated data folder is.
run: build
	@cd $(BUILD) && ./tarvolan

# Every test, then the unit and integration tests again under AddressSanitizer
# and UndefinedBehaviorSanitizer; any sanitizer report fails the run.
test: test-fast test-sanitize

test-fast: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-sanitize: setup
	@$(CONFIGURE) -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTARVOLAN_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp \
		ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS) -LE nosanitize

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
