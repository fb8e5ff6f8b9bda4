# Two commands do all set-up on a fresh machine:
#   make demo   - builds the library and runs the demo against a local zqserverd
#   make check  - builds and runs the whole test suite (plain, then ASan+UBSan)
JOBS ?= 2
BUILD ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
CMAKE_FLAGS ?=

.PHONY: all bootstrap build demo check test test-asan test-tsan bench format clean

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

check: test test-asan test-tsan

bench: bootstrap
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZQ_BUILD_BENCH=ON -DZQ_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

format:
	find include src server tests tools bench examples -name '*.[ch]' -o -name '*.cpp' -o -name '*.hpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) build-bench
