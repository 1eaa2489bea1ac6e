# Quorvel: set-up, build, run, test and benchmark commands.
# Every target installs the missing Debian packages first (scripts/install-deps.sh).

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: deps configure build run test test-sanitize check-windows-headers bench fuzz-configure fuzz-storage fuzz-graph clean

deps:
	@./scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@./scripts/run-quorvel.sh $(BUILD)

test: build check-windows-headers
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The same tests under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DQUORVEL_SANITIZE=ON $(CMAKE_ARGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 600

# Application sources must also compile against the real Windows headers.
check-windows-headers: deps
	@./scripts/check-windows-headers.sh

bench: build
	@./scripts/run-benchmarks.sh $(BUILD)

# The libFuzzer build (outside CI): clang, with the sanitizers.
fuzz-configure: deps
	@dpkg-query -W -f='$${Status}\n' clang libclang-rt-14-dev 2>/dev/null | grep -c 'install ok installed' | grep -q 2 || \
	  { [ "$$(id -u)" -eq 0 ] || sudo=sudo; $$sudo apt-get update -q && \
	    $$sudo apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev; }
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DQUORVEL_SANITIZE=ON -DQUORVEL_FUZZ=ON $(CMAKE_ARGS) >/dev/null

# Fuzzes the compound file reader with libFuzzer for FUZZ_SECONDS (outside CI),
# for crashes, hangs and memory errors. Leaks are not hunted here: libgsf
# leaks a few bytes of directory entries on some damaged files.
# New inputs collect in $(FUZZ_BUILD)/storage-corpus; to keep the useful ones,
# merge them into the kept corpus, which the tests replay:
#   $(FUZZ_BUILD)/bin/storage_fuzzer -merge=1 tests/fuzz/corpus/storage $(FUZZ_BUILD)/storage-corpus
fuzz-storage: fuzz-configure
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target storage_fuzzer
	@mkdir -p $(FUZZ_BUILD)/storage-corpus
	@ASAN_OPTIONS=detect_leaks=0 $(FUZZ_BUILD)/bin/storage_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 \
	  $(FUZZ_BUILD)/storage-corpus tests/fuzz/corpus/storage

# Fuzzes the saved-graph reader (the persistent form a .grf file's
# ActiveMovieGraph stream holds) the same way, leaks included: a form that
# reads must write out and read back unchanged.
# New inputs collect in $(FUZZ_BUILD)/graph-corpus; to keep the useful ones:
#   $(FUZZ_BUILD)/bin/graph_fuzzer -merge=1 tests/fuzz/corpus/graph $(FUZZ_BUILD)/graph-corpus
fuzz-graph: fuzz-configure
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target graph_fuzzer
	@mkdir -p $(FUZZ_BUILD)/graph-corpus
	@$(FUZZ_BUILD)/bin/graph_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=16384 -timeout=10 \
	  $(FUZZ_BUILD)/graph-corpus tests/fuzz/corpus/graph

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
