# Two commands do all set-up on a fresh machine:
#   make demo   - builds the library and runs the demo against a local zqserverd
#   make check  - builds and runs the whole test suite (plain, then ASan+UBSan)
JOBS ?= 2
BUILD ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
BUILD_FUZZ ?= build-fuzz
# Seconds per fuzz target: make fuzz, and the smoke run of make check.
FUZZ_SECONDS ?= 600
SMOKE_SECONDS ?= 8
CMAKE_FLAGS ?=

.PHONY: all bootstrap build demo check test test-asan test-tsan fuzz fuzz-build fuzz-smoke \
        fuzz-seeds bench format clean

all: build

bootstrap:
	@bash scripts/bootstrap.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: bootstrap $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	@bash scripts/run-demo.sh $(BUILD)/out

test: build
	@bash scripts/start-rpcbind.sh
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: bootstrap
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=address,undefined
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	@bash scripts/start-rpcbind.sh
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The concurrency tests once more under ThreadSanitizer.
TSAN_TESTS ?= *
test-tsan: bootstrap
	cmake -S . -B $(BUILD_TSAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_SANITIZE=thread
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target test_e2e
	@bash scripts/start-rpcbind.sh
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD_TSAN)/out/test_e2e --gtest_filter='$(TSAN_TESTS)' 

# The fuzz targets (fuzz/) under clang, libFuzzer, ASan and UBSan.
fuzz-build: bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZQ_BUILD_FUZZ=ON -DZQ_BUILD_TESTS=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	@bash scripts/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# A few seconds per target in make check; skipped, with the reason, where
# clang or libFuzzer is missing (scripts/bootstrap.sh installs both).
fuzz-smoke: bootstrap
	@if why=$$(bash scripts/fuzz-toolchain.sh); then \
	  $(MAKE) --no-print-directory fuzz-build && \
	  bash scripts/run-fuzz.sh $(BUILD_FUZZ) $(SMOKE_SECONDS); \
	else \
	  echo "fuzz smoke SKIPPED: $$why"; \
	fi

# Writes the golden vectors of the record targets into fuzz/seeds.
fuzz-seeds: build
	ZQ_FUZZ_SEEDS=$(CURDIR)/fuzz/seeds $(BUILD)/out/test_golden

check: test test-asan test-tsan fuzz-smoke

bench: bootstrap
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZQ_BUILD_BENCH=ON -DZQ_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

format:
	find include src server tests tools bench examples fuzz -name '*.[ch]' -o -name '*.cpp' -o -name '*.hpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_FUZZ) build-bench
