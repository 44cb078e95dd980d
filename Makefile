# TARVIK: `make run` starts the program, `make test` runs every test. Both install what is
# missing first (as root), configure and build incrementally.

BUILD         ?= build
TEST_BUILD    ?= build-sanitize
THREADS_BUILD ?= build-tsan
FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 60
# Tests that run at once: each starts its own servers on addresses and ports of its own.
TEST_JOBS     ?= 2
GENERATOR     := -G Ninja
BUILD_TYPE    ?= RelWithDebInfo

PACKAGES      := g++ make cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
                 libbenchmark-dev fonts-dejavu-core libldap2-dev slapd ldap-utils \
                 samba samba-ad-dc samba-ad-provision samba-dsdb-modules ldb-tools openssl \
                 dpkg-dev lintian \
                 libsqlite3-dev zlib1g-dev libzstd-dev liblzma-dev
FUZZ_PACKAGES := clang libclang-rt-14-dev

# CI builds with warnings as errors.
ifeq ($(CI),true)
  WERROR := -DTARVIK_WERROR=ON
endif

# The builds that serve tests compile each target in a few large batches: a fresh build takes
# less than half the time. They leave out the benchmarks, which measure nothing under a sanitizer
# (`make bench` builds them in $(BUILD)). They are configured every time, so that a folder made by
# an older Makefile gets today's settings.
# Line tables are all a sanitizer's report needs of the debug information, and much less to
# write and link than the whole of it.
SANITIZED := $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DTARVIK_UNITY=ON \
             -DTARVIK_CORE_ONLY=OFF -DTARVIK_BENCH=OFF $(WERROR)
CTEST     := QT_QPA_PLATFORM=offscreen ctest -j$(TEST_JOBS) --output-on-failure --timeout 300

# What ThreadSanitizer watches: the server layer with the worker (every test of test_server), and
# the tests in which the worker meets a directory server, a call comes to the program's thread
# from another, or the window waits, stops, finds, runs a restore or ends.
THREADS_TARGETS := test_server test_server_directory test_toolkit test_app
THREADS_TESTS   := ^(DirectoryWorkerStopTest|CrossThreadPost|ServerWait|FindDialogTest|UnsearchableServerTest|RestoreRun|Termination|HistoryView)\.
TSAN_OPTIONS    := suppressions=$(CURDIR)/tools/tsan-qt.supp second_deadlock_stack=1


.PHONY: all deps build run test test-core test-threads bench fuzz check-a11y package clean

all: build

deps:
	@tools/ensure-packages $(PACKAGES)

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WERROR)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/tarvik $(ARGS)

# Every test, the window's too, under AddressSanitizer and UBSan, from one build.
test: deps
	cmake -S . -B $(TEST_BUILD) $(SANITIZED) -DTARVIK_SANITIZE=address
	cmake --build $(TEST_BUILD)
	cd $(TEST_BUILD) && $(CTEST)

# The tests of the parts without Qt alone, from the same build.
test-core: deps
	cmake -S . -B $(TEST_BUILD) $(SANITIZED) -DTARVIK_SANITIZE=address
	cmake --build $(TEST_BUILD) --target core_tests
	cd $(TEST_BUILD) && $(CTEST) -LE window

test-threads: deps
	cmake -S . -B $(THREADS_BUILD) $(SANITIZED) -DTARVIK_SANITIZE=thread
	cmake --build $(THREADS_BUILD) --target $(THREADS_TARGETS)
	cd $(THREADS_BUILD) && export TSAN_OPTIONS='$(TSAN_OPTIONS)' && \
	    $(CTEST) -L '^test_server$$' && $(CTEST) -R '$(THREADS_TESTS)'

# The side-by-side table first; its exit status tells whether every ratio held.
bench: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_SideBySide; status=$$?; \
	for b in $(BUILD)/bench/bench_*; do \
	    case "$$b" in *bench_SideBySide) continue ;; esac; \
	    [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; \
	done; exit $$status

# A Debian package of the build, in $(BUILD)/: sudo apt install ./$(BUILD)/tarvik_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

# What assistive tools read of the program, over the accessibility bus under Xvfb.
check-a11y: build
	tools/check-a11y $(BUILD)/tarvik

fuzz:
	@tools/ensure-packages $(PACKAGES) $(FUZZ_PACKAGES)
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DTARVIK_CORE_ONLY=ON -DTARVIK_FUZZ=ON $(WERROR)
	cmake --build $(FUZZ_BUILD) --target fuzz_targets
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	    [ -x "$$f" ] || continue; name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	    "$$f" -max_total_time=$(FUZZ_SECONDS) $(FUZZ_BUILD)/corpus/$$name tests/fuzz/seeds/$$name || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(THREADS_BUILD) $(FUZZ_BUILD)
