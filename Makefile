# Quorvel: set-up, build, run, test and benchmark commands.
# Every target installs the missing Debian packages first (scripts/install-deps.sh).

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: deps configure build run test test-sanitize check-windows-headers bench clean

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
