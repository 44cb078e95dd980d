# TARVIK: `make run` starts the program, `make test` runs every test. Both install what is
# missing first (as root), configure and build incrementally.

BUILD       ?= build
CORE_BUILD  ?= build-sanitize
FUZZ_BUILD  ?= build-fuzz
FUZZ_SECONDS ?= 60
GENERATOR   := -G Ninja
BUILD_TYPE  ?= RelWithDebInfo

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


.PHONY: all deps build run test test-core bench fuzz check-a11y package clean

all: build

deps:
	@tools/ensure-packages $(PACKAGES)

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WERROR)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

run: build
	$(BUILD)/tarvik $(ARGS)

# The full suite, then the Qt-free core again under AddressSanitizer and UBSan.
test: build test-core
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

test-core: deps
	cmake -S . -B $(CORE_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTARVIK_CORE_ONLY=ON \
	    -DTARVIK_SANITIZE=ON $(WERROR)
	cmake --build $(CORE_BUILD)
	cd $(CORE_BUILD) && ctest --output-on-failure --timeout 300

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
	    -DTARVIK_CORE_ONLY=ON -DTARVIK_FUZZ=ON
	cmake --build $(FUZZ_BUILD)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	    [ -x "$$f" ] || continue; name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	    "$$f" -max_total_time=$(FUZZ_SECONDS) $(FUZZ_BUILD)/corpus/$$name tests/fuzz/seeds/$$name || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(CORE_BUILD) $(FUZZ_BUILD)
