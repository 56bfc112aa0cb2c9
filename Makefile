# Vaultwick: a thin wrapper over CMake. `make run`, `make web` and `make test`
# install what is missing first (Debian packages, needs root or sudo).
BUILD ?= build
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
JOBS ?= 2
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DVW_WERROR=ON
endif

.PHONY: all deps web-deps configure build run web web-run test test-sanitize soak bench assets fuzz install package clean golden-replays

all: build

deps:
	@bash scripts/install-deps

web-deps:
	@bash scripts/install-web-deps

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

# The page's test in Chromium uses the web build made here; web-deps installs
# the base packages too, in one go.
test: web-deps build web test-sanitize
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Parsers, the collector and the rounds of play again under AddressSanitizer and
# UBSan, and the fuzz corpora with the inputs that once broke a reader.
test-sanitize: configure
	@cmake -S . -B $(BUILD)-sanitize -DVW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS) --target unit_tests vaultwick-replay $(FUZZ_REPLAYS)
	cd $(BUILD)-sanitize && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ./tests/unit_tests --gtest_filter='$(SANITIZE_FILTER)' --gtest_brief=1
	cd $(BUILD)-sanitize && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j$(JOBS) -R '^(replay|regressions)_'

# The fuzz corpora and regression inputs replayed through each target.
FUZZ_REPLAYS = $(patsubst fuzz/%.cpp,replay_%,$(wildcard fuzz/*_fuzz.cpp))

SANITIZE_FILTER ?= Collector*:String*:TextFile*:StateFile*:Wav*:Ogg*:ImageFile*:SaveData*:AudioDevice*:Input*:BrowserInput*:Random*:PlayModes*:SpikeGenerator*:Field*:Effects*:Scoring*:ComboTimer*:ControlSchemes*:Scene*:*WholeRounds*:Soak*:ReplayFile*:Replays*:*RecordedRounds*

# A simulated hour of random play over every screen under the sanitizers
# (make test runs ten simulated minutes of it).
soak: configure
	@cmake -S . -B $(BUILD)-sanitize -DVW_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)-sanitize -j$(JOBS) --target unit_tests
	cd $(BUILD)-sanitize && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp VW_SOAK_UPDATES=216000 \
	  ./tests/unit_tests --gtest_filter='Soak*'

# Release build; the real-GL comparison runs under Xvfb. Figures go to
# $(BUILD)-bench/results (see bench/run.sh).
bench: deps
	@cmake -S . -B $(BUILD)-bench -DVW_BENCH=ON -DVW_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)-bench -j$(JOBS)
	bash bench/run.sh $(CURDIR)/$(BUILD)-bench

# Runs the fuzzers for a short while each (clang's libFuzzer). The corpus path is
# absolute because a target may change its working folder.
fuzz: deps
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

# Records the golden replays again (after a change of the round's rules,
# with replay::kRulesVersion raised): tests/replays/mode-NN.vwr, expected.txt.
golden-replays: build
	./$(BUILD)/tests/record_golden_replays $(CURDIR)/tests/replays

# Regenerates the art and sound in data/ and the contact sheet.
assets: deps
	@cmake -S tools/assetgen -B $(BUILD)/assetgen -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)/assetgen -j$(JOBS)
	$(BUILD)/assetgen/assetgen data docs/assets.png

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-bench $(BUILD)-fuzz $(WEB_BUILD)
