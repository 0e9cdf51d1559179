# The two entry points. Everything real lives in CMake and scripts/.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
WEB_BUILD  ?= build-web
# How long `make fuzz` runs each fuzz target, in seconds.
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
# Where `make install` puts the game; DESTDIR, when given, is put in front.
PREFIX     ?= /usr/local

CONFIGURE = cmake -S . -G Ninja -Wno-dev

.PHONY: all setup build run web web-run install package test test-fast test-sanitize test-fuzz fuzz-build fuzz soak bench clean

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

# The program finds its data beside itself (../share/tarvolan/data/) and keeps
# the player's state in $XDG_DATA_HOME/tarvolan/.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, tarvolan_<version>_<arch>.deb, in the build folder.
package: build
	@cd $(BUILD) && cpack -G DEB

# The game for the browser in $(WEB_BUILD)/site: our page, the program as
# JavaScript and WebAssembly, and the data folder the desktop build generated.
# emcc's optimiser needs Debian's node modules.
web: build
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -Wno-dev \
		-DCMAKE_BUILD_TYPE=MinSizeRel -DTARVOLAN_WEB_DATA=$(CURDIR)/$(BUILD)/data >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j $(JOBS)

# Serves the site on 127.0.0.1:8000 (or a free port) and prints the address.
web-run: web
	@/usr/bin/python3 web/serve.py $(WEB_BUILD)/site

# Every test but the soak (the browser test plays the site, so that is built
# first), then the unit and integration tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer (any sanitizer report fails the run), then each
# fuzz target over its committed corpus.
test: test-fast test-sanitize test-fuzz

test-fast: build web
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE soak

test-sanitize: setup
	@$(CONFIGURE) -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTARVOLAN_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp \
		ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS) -LE nosanitize

# The fuzz targets live in their own clang build folder.
fuzz-build: setup
	@CC=clang CXX=clang++ $(CONFIGURE) -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLAN_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

test-fuzz: fuzz-build
	@ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)

# Fuzzes each target for FUZZ_SECONDS, seeded from the generated data folder too.
fuzz: build fuzz-build
	@scripts/fuzz $(FUZZ_BUILD) $(BUILD)/data $(FUZZ_SECONDS)

# The bot's hour of play (tests/soak), apart from `make test` for its length.
soak: build
	@ctest --test-dir $(BUILD) --output-on-failure -L soak

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
