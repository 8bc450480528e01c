# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
.PHONY: run test sanitize setup build clean

run: build
	./build/kalvena

test: build
	ctest --preset default

sanitize: setup
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

build: setup
	cmake --preset default
	cmake --build --preset default

setup:
	./tools/setup-debian.sh

clean:
	rm -rf build build-sanitize
