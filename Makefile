# Two commands do all set-up on a fresh machine:
#   make demo   - builds only the library, the catalog, zqserverd and the demo,
#                 and runs the demo against a local zqserverd
#   make check  - builds and runs the whole test suite (plain, then ASan+UBSan)
# Others: make install PREFIX=..., make package (Debian package), make docs.
JOBS ?= 2
BUILD ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
BUILD_FUZZ ?= build-fuzz
# Seconds per fuzz target: make fuzz, and the smoke run of make check.
FUZZ_SECONDS ?= 600
SMOKE_SECONDS ?= 8
# Executions per fuzz target for make fuzz (empty: only the time bound).
FUZZ_RUNS ?=
CMAKE_FLAGS ?=

PREFIX ?= /usr/local
BUILD_PACKAGE ?= build-package

.PHONY: all bootstrap configure build demo check test test-asan test-tsan fuzz fuzz-build fuzz-smoke \
	fuzz-seeds bench format clean install package docs

all: build

bootstrap:
	@bash scripts/bootstrap.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: configure
	cmake --build $(BUILD) -j $(JOBS) --target demo

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A build of its own, configured for /usr, makes the Debian package.
package: bootstrap
	cmake -S . -B $(BUILD_PACKAGE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_INSTALL_PREFIX=/usr -DZQ_BUILD_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD_PACKAGE) -j $(JOBS) --target package
	@ls $(BUILD_PACKAGE)/package/*.deb

# The reference from the public headers; an undocumented export fails it.
docs: configure
	cmake --build $(BUILD) --target docs

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
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target test_e2e zqserverd
	@bash scripts/start-rpcbind.sh
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  $(BUILD_TSAN)/out/test_e2e --gtest_filter='$(TSAN_TESTS)' 

# The fuzz targets (fuzz/) under clang, libFuzzer, ASan and UBSan.
fuzz-build: bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZQ_BUILD_FUZZ=ON -DZQ_BUILD_TESTS=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target fuzz_targets

fuzz: fuzz-build
	@FUZZ_RUNS=$(FUZZ_RUNS) bash scripts/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

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
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_FUZZ) $(BUILD_PACKAGE) build-bench
