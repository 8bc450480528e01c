# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
.PHONY: run test lint sanitize package check-package setup build clean

run: build
	./build/kalvena

# As many tests at once as there are cores (JOBS=1 for one at a time); the
# tests that share state or bound their own time are marked to run alone.
JOBS ?= $(shell nproc)

test: build
	ctest --preset default --parallel $(JOBS)

# Formatting and clang-tidy (tools/lint.sh).
lint: build
	./tools/setup-debian.sh lint
	./tools/lint.sh

sanitize: setup
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize --parallel $(JOBS)

build: setup
	cmake --preset default
	cmake --build --preset default

# The Debian package, build-package/kalvena_VERSION_ARCH.deb, and its checks.
package: setup
	rm -f build-package/kalvena_*.deb
	cmake --workflow --preset package

check-package: package
	./tools/setup-debian.sh package
	./tools/check-package.sh build-package/kalvena_*.deb

setup:
	./tools/setup-debian.sh

clean:
	rm -rf build build-sanitize build-fuzz build-package build-clang
