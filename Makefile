# Vaultwick: a thin wrapper over CMake. `make run`, `make web`, `make bench`,
# `make fuzz` and `make assets` install what each needs that is missing first,
# `make test` everything (Debian packages, needs root or sudo; see
# scripts/install-deps for the lists).
BUILD ?= build
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
JOBS ?= 2
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DVW_WERROR=ON
endif

.PHONY: all deps test-deps web-deps configure build run web web-run test test-sanitize soak bench assets fuzz install package clean

all: build

deps:
	@bash scripts/install-deps run

test-deps:
	@bash scripts/install-deps all

web-deps:
	@bash scripts/install-deps web

configure:
	@cmake -S . -B $(BUILD) -DVW_WEB_BUILD_DIR=$(CURDIR)/$(WEB_BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: deps build
	./$(BUILD)/vaultwick

# The browser build: emscripten's CMake wrapper around the same CMakeLists.txt.
# Debian's emscripten finds its optimizer's node modules through NODE_PATH.
web: web-deps
	@NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) $(CMAKE_FLAGS) >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j$(JOBS)

web-run: web
	node web/serve.mjs $(WEB_BUILD) $(WEB_PORT)

# Runs ctest in build folder $(1) with the further arguments $(2), then lists
# what it skipped (tests/skips.sh, which fails under CI=true, where everything
# is installed and nothing has a reason to skip).
define run_ctest
cd $(1) && ctest --output-on-failure --no-tests=error -j$(JOBS) --output-junit $(CURDIR)/$(1)/junit.xml $(2); \
  status=$$?; bash $(CURDIR)/tests/skips.sh $(CURDIR)/$(1)/junit.xml || status=1; exit $$status
endef

# The page's test in Chromium uses the web build made here.
test: test-deps build web test-sanitize
	$(call run_ctest,$(BUILD))

# Every unit test (the game's and the asset generator's) again under AddressSanitizer and UBSan (the collector's
# objects that live to the end are no leak: tests/lsan.supp), and the fuzz
# corpora with the inputs that once broke a reader. The real-window, browser
# and black-box tests drive Mesa, X and Chromium, not our code's memory, and
# run in the plain build only.
test-sanitize: configure
	@cmake -S . -B $(BUILD)-sanitize -DVW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS) --target unit_tests assetgen_sound_tests $(FUZZ_REPLAYS)
	export LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0; \
	  $(call run_ctest,$(BUILD)-sanitize,-R '^(unit_tests|assetgen_sound_tests|replay_.*|regressions_.*)$$')

# The fuzz corpora and regression inputs replayed through each target.
FUZZ_REPLAYS = $(patsubst fuzz/%.cpp,replay_%,$(wildcard fuzz/*_fuzz.cpp))

# A simulated hour of random play over every screen under the sanitizers
# (make test runs ten simulated minutes of it).
soak: configure
	@cmake -S . -B $(BUILD)-sanitize -DVW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS) --target unit_tests
	cd $(BUILD)-sanitize && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 VW_SOAK_UPDATES=216000 \
	  ./tests/unit_tests --gtest_filter='Soak*'

# Release build; the real-GL comparison runs under Xvfb. Figures go to
# $(BUILD)-bench/results (see bench/run.sh).
bench:
	@bash scripts/install-deps run bench
	@cmake -S . -B $(BUILD)-bench -DVW_BENCH=ON -DVW_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)-bench -j$(JOBS)
	bash bench/run.sh $(CURDIR)/$(BUILD)-bench

# Runs the fuzzers for a short while each (clang's libFuzzer). The corpus path is
# absolute because a target may change its working folder.
fuzz:
	@bash scripts/install-deps run fuzz
	@cmake -S . -B $(BUILD)-fuzz -DVW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null
	@cmake --build $(BUILD)-fuzz -j$(JOBS) --target $(patsubst fuzz/%.cpp,%,$(wildcard fuzz/*_fuzz.cpp))
	@for f in fuzz/*_fuzz.cpp; do n=$$(basename $$f .cpp); \
	  mkdir -p fuzz/corpus/$$n; ./$(BUILD)-fuzz/tests/$$n -max_total_time=$${FUZZ_SECONDS:-60} $(CURDIR)/fuzz/corpus/$$n || exit 1; done

# Installs the game, its launcher, desktop entry, icons and metainfo under
# PREFIX (default /usr/local); DESTDIR stages the tree elsewhere.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same tree under /usr, written to $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# Regenerates the art and sound in data/ and the contact sheet.
assets:
	@bash scripts/install-deps run assets
	@cmake -S tools/assetgen -B $(BUILD)/assetgen -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/assetgen -j$(JOBS)
	$(BUILD)/assetgen/assetgen data docs/assets.png

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-bench $(BUILD)-fuzz $(WEB_BUILD)
