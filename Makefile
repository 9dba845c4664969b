# The two commands of the README: `make test` and `make demo`.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c

NATIVE := build/native
WIN32  := build/win32
WIN64  := build/win64
STUB := $(abspath $(WIN32))/bin/zarvane-installer.exe

# What ships is 32-bit (build/win32). Some machines refuse every 32-bit program, the 32-bit Wine
# loader included: there the Windows programs run from the 64-bit tree under the 64-bit Wine.
# So do machines whose package index cannot install the 32-bit Wine. WINDOWS_TESTS=win64 takes
# that route on any machine.
RUNS_32_BIT := $(shell cmake/runs-32-bit-programs && cmake/can-have-32-bit-wine && echo yes)
ROUTE_GIVEN := $(filter-out undefined,$(origin WINDOWS_TESTS))
ifeq ($(origin WINDOWS_TESTS),undefined)
  WINDOWS_TESTS := $(if $(RUNS_32_BIT),win32,win64)
  WINDOWS_WHY := this machine $(if $(RUNS_32_BIT),runs,does not run) 32-bit programs$(if $(RUNS_32_BIT),, under Wine)
endif
WINDOWS_WHY ?= WINDOWS_TESTS=$(WINDOWS_TESTS) was given
export WINDOWS_TESTS WINDOWS_WHY
WINDOWS := build/$(WINDOWS_TESTS)
WINEPREFIX_DIR = $(abspath $(WINDOWS))/wineprefix

PACKAGES := cmake ninja-build g++ googletest zlib1g-dev python3 \
            g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
            g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
            libz-mingw-w64-dev wine wine64 xvfb xauth imagemagick fonts-wine zip unzip \
            osslsigncode openssl \
            $(if $(RUNS_32_BIT),wine32:i386)

# The benchmarks' peers only (make bench); the tests never need them.
BENCH_PACKAGES := p7zip-full

# The wallpaper preview's browser and the client that fetches its player, each a command of the
# package's name (npm may come with another nodejs package); without recommends (Chromium's pull
# in a desktop). Without them the build goes on and the preview's test skips.
PREVIEW_PACKAGES := chromium npm

FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
CORPUS ?= $(firstword $(wildcard ../shared/corpus /work/shared/corpus))

.PHONY: test test-routed deps build fuzz build-native build-win32 build-win64 test-native \
        test-windows demo demo-routed dist clean bench configure-native configure-win32 \
        configure-win64 build-demo windows-route

# On a new machine only installing tells whether the 32-bit Wine can be had: after deps a new make
# settles the route again, unless it was given.
FRESH_ROUTE = $(if $(ROUTE_GIVEN),,env -u WINDOWS_TESTS -u WINDOWS_WHY)

test: deps
	@$(FRESH_ROUTE) $(MAKE) --no-print-directory test-routed

test-routed: windows-route build
	$(MAKE) --no-print-directory test-native
	$(MAKE) --no-print-directory test-windows

# Says which tree the Windows programs run from, and stops at once where that cannot work.
windows-route:
	@case "$(WINDOWS_TESTS)" in win32|win64) ;; \
	  *) echo "WINDOWS_TESTS must be win32 or win64, not '$(WINDOWS_TESTS)'"; exit 2 ;; esac
	@if [ "$(WINDOWS_TESTS)" = win32 ] && [ -z "$(RUNS_32_BIT)" ]; then \
	  echo "WINDOWS_TESTS=win32 cannot run here: this machine does not run 32-bit programs (use win64)"; \
	  exit 2; fi
	@echo "Windows programs run from $(WINDOWS) under $(if $(filter win64,$(WINDOWS_TESTS)),the 64-bit,the 32-bit) Wine: $(WINDOWS_WHY)"

# Installs only what is missing; silent when everything is there.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  sudo=""; [ "$$(id -u)" = 0 ] || sudo=sudo; \
	  echo "installing:$$missing"; \
	  case "$$missing" in *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || \
	    $$sudo dpkg --add-architecture i386 ;; esac; \
	  $$sudo apt-get update -qq || echo "the package index could not be read whole: installing from what it has"; \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $$missing >/dev/null || \
	    case "$$missing" in *wine32:i386*) \
	      echo "the 32-bit Wine cannot be installed now: the Windows programs run from the 64-bit tree"; \
	      DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq $${missing/wine32:i386/} >/dev/null ;; \
	    *) exit 1 ;; esac; \
	fi
	@missing=""; for p in $(PREVIEW_PACKAGES); do \
	  command -v "$$p" >/dev/null || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  sudo=""; [ "$$(id -u)" = 0 ] || sudo=sudo; \
	  echo "installing:$$missing"; \
	  $$sudo apt-get update -qq || echo "the package index could not be read whole: installing from what it has"; \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends \
	    $$missing >/dev/null || echo "could not install$$missing: no wallpaper preview"; \
	fi

# The 32-bit tree comes first: the native command-line tool carries the installer stub it builds.
# The 64-bit one keeps the sources 64-bit clean on every machine.
build: build-win32 build-win64 build-native

configure-win32:
	@[ -f $(WIN32)/build.ninja ] || cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null

configure-win64:
	@[ -f $(WIN64)/build.ninja ] || cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null

build-win32: configure-win32
	cmake --build $(WIN32)

build-win64: configure-win64
	cmake --build $(WIN64)

configure-native:
	@[ -f $(NATIVE)/build.ninja ] || cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DZARVANE_INSTALLER_STUB=$(STUB) >/dev/null

build-native: configure-native
	cmake --build $(NATIVE)

# What the demo runs, and no test program: the two Windows programs, the test driver that
# photographs them, the stand-ins for the Active Desktop and the Flash control, and the native
# command-line tool.
DEMO_WINDOWS_TARGETS := zarvane-installer Zarvane zarvane_driver zarvane_active_desktop_double \
                      zarvane_flash_double_plain
build-demo: configure-win32 configure-$(WINDOWS_TESTS) configure-native
	cmake --build $(WIN32) --target zarvane-installer
	cmake --build $(WINDOWS) --target $(DEMO_WINDOWS_TARGETS)
	cmake --build $(NATIVE) --target zarvane-cli

test-native:
	ctest --test-dir $(NATIVE) --output-on-failure -j2

# Windows tests run under Wine on a private Xvfb; the prefix's wineserver goes with it.
test-windows:
	WINEPREFIX=$(WINEPREFIX_DIR) wineserver -k 2>/dev/null || true
	xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '\
	  ctest --test-dir $(WINDOWS) --output-on-failure -j2; rc=$$?; \
	  WINEPREFIX=$(WINEPREFIX_DIR) wineserver -k 2>/dev/null; exit $$rc'

# Every benchmark as a ratio against its peer, run alternately (see the README): the authoring
# tool's start-up, the installer program's and the tool's sizes, the preview shot, the archive's
# build, extraction and memory.
bench: windows-route deps build
	@$(MAKE) --no-print-directory deps PACKAGES="$(BENCH_PACKAGES)"
	bench/startup/run "" $(WINDOWS)
	bench/stub
	bench/preview/run "" $(NATIVE)/bin/zarvane-cli
	bench/archive/run

# libFuzzer on the movie reader, the installer reader, the project file and the installer's
# configuration, each for FUZZ_SECONDS (clang, own tree); the first finding, undefined behaviour
# included, stops it.
FUZZ_FLAGS := -fsanitize=fuzzer-no-link -fno-sanitize-recover=all
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="$(FUZZ_PACKAGES)"
	@CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVANE_SANITIZE=ON -DZARVANE_FUZZ=ON \
	  "-DCMAKE_C_FLAGS=$(FUZZ_FLAGS)" "-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)" >/dev/null
	cmake --build $(FUZZ) --target zarvane_fuzz_all
	tests/fuzz/run.sh $(FUZZ) $(FUZZ_SECONDS) $(abspath $(CORPUS))

# The demo wallpaper's installer, built by the native command-line tool, with its member list and
# the page an installation would write, and the packages for the live-wallpaper programs
# (photographed playing); then installed into a fresh Wine prefix under out/demo,
# looked at, photographed and uninstalled again; last the authoring tool photographed with the
# demo project open.
DEMO := out/demo
demo: deps
	@$(FRESH_ROUTE) $(MAKE) --no-print-directory demo-routed

demo-routed: windows-route build-demo
	@rm -rf $(DEMO) && mkdir -p $(DEMO)
	@mkdir -p $(DEMO)/signing
	openssl req -x509 -newkey rsa:2048 -nodes -days 365 -subj "/CN=Zarvane Demo (test certificate)" \
	  -keyout $(DEMO)/signing/test-key.pem -out $(DEMO)/signing/test-cert.pem 2>/dev/null
	$(NATIVE)/bin/zarvane-cli build examples/demo/demo.zvp -o "$(DEMO)/Demo Setup.exe" \
	  --sign-cert $(DEMO)/signing/test-cert.pem --sign-key $(DEMO)/signing/test-key.pem
	$(NATIVE)/bin/zarvane-cli verify "$(DEMO)/Demo Setup.exe" > $(DEMO)/signing/verify.txt
	$(NATIVE)/bin/zarvane-cli list "$(DEMO)/Demo Setup.exe" > $(DEMO)/members.txt
	$(NATIVE)/bin/zarvane-cli page examples/demo/demo.zvp -o $(DEMO)/Demo.htm
	$(NATIVE)/bin/zarvane-cli preview examples/demo/demo.zvp -o $(DEMO)/wallpaper.png
	$(NATIVE)/bin/zarvane-cli export examples/demo/demo.zvp --lively $(DEMO)/Demo-lively.zip \
	  --wallpaper-engine $(DEMO)/Demo-wallpaper-engine
	python3 tests/e2e/export/demo_export.py $(DEMO)
	bash tests/e2e/demo_install.sh $(WINDOWS) $(NATIVE)/bin/zarvane-cli $(DEMO) "$(DEMO)/Demo Setup.exe"
	bash tests/e2e/demo_authoring.sh $(WINDOWS) $(DEMO)
	bash tests/e2e/demo_current_windows.sh $(WINDOWS) $(DEMO)
	@echo; echo "Members of the installer (index, offset, size, packed size, name):"
	@sed 's/^/  /' $(DEMO)/members.txt
	@echo; echo "The signed installer, as zarvane-cli verify sees it:"
	@sed 's/^/  /' $(DEMO)/signing/verify.txt
	@echo; echo "installer:       $(abspath $(DEMO))/Demo Setup.exe"
	@echo "member list:     $(abspath $(DEMO))/members.txt"
	@echo "wallpaper page:  $(abspath $(DEMO))/Demo.htm"
	@echo "wallpaper:       $(abspath $(DEMO))/wallpaper.png"
	@echo "Lively:          $(abspath $(DEMO))/Demo-lively.zip"
	@echo "Wallpaper Engine: $(abspath $(DEMO))/Demo-wallpaper-engine"
	@echo "project:         $(abspath examples/demo)/demo.zvp"
	@echo "screenshots:"; for f in $(DEMO)/*.png; do echo "  $(CURDIR)/$$f"; done

# The Windows programs with their help, licence and read-me in one zip for Windows users; then
# the zip's Zarvane.exe must start from a fresh folder and open its help. Where this machine runs
# no 32-bit programs, the start is checked with the 64-bit build of the same files.
DIST := out/dist
VERSION := $(shell sed -n 's/.*"About Zarvane v\([0-9.]*\) .*/\1/p' authoring_ui/help.rc)
DIST_ZIP := $(DIST)/Zarvane-$(VERSION)-win32.zip
DIST_CHECK_TREE := $(if $(RUNS_32_BIT),$(WIN32),$(WIN64))
DIST_CHECK_ZIP := $(if $(RUNS_32_BIT),$(DIST_ZIP),$(WIN64)/dist-check/Zarvane-$(VERSION)-win64.zip)

# make_zip TREE STRIP ZIP: the tree's programs, stripped, with the help and the texts.
define make_zip
	rm -rf $(dir $(3))Zarvane && mkdir -p $(dir $(3))Zarvane
	for exe in Zarvane.exe zarvane-cli.exe; do \
	  $(2) -o $(dir $(3))Zarvane/$$exe $(1)/bin/$$exe; done
	cp -r authoring_ui/help $(dir $(3))Zarvane/Help
	for f in README.txt LICENCE.txt; do sed 's/$$/\r/' dist/$$f > $(dir $(3))Zarvane/$$f; done
	rm -f $(3) && cd $(dir $(3)) && zip -qrX $(notdir $(3)) Zarvane && rm -rf Zarvane
endef

dist: windows-route deps build
	@rm -rf $(DIST) && mkdir -p $(DIST)
	$(call make_zip,$(WIN32),i686-w64-mingw32-strip,$(DIST_ZIP))
ifeq ($(RUNS_32_BIT),)
	@echo "this machine does not run 32-bit programs: the start is checked with the 64-bit build of the same files"
	@mkdir -p $(dir $(DIST_CHECK_ZIP))
	$(call make_zip,$(WIN64),x86_64-w64-mingw32-strip,$(DIST_CHECK_ZIP))
endif
	WINEPREFIX=$(abspath $(DIST_CHECK_TREE))/wineprefix wineserver -k 2>/dev/null || true
	xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '\
	  bash tests/e2e/dist_start.sh $(DIST_CHECK_TREE) $(DIST_CHECK_ZIP); rc=$$?; \
	  WINEPREFIX=$(abspath $(DIST_CHECK_TREE))/wineprefix wineserver -k 2>/dev/null; exit $$rc'
	@echo "zip: $(abspath $(DIST_ZIP))"

clean:
	rm -rf build out
