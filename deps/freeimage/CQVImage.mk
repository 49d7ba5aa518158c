# Builds CQVImage.dll (FreeImage) in the current folder.
# make -f CQVImage.mk T=<triple> FI=<FreeImage source> P=<prefix with libjpeg/libpng> STUBS=<cqv_stub_plugins.cpp>
CXX := $(T)-g++-posix
CC  := $(T)-gcc-posix

# Plug-ins whose libraries are not built; cqv_stub_plugins.cpp registers them.
LEFT_OUT := Source/FreeImage/PluginTIFF.cpp Source/FreeImage/PluginG3.cpp Source/FreeImage/PluginEXR.cpp \
            Source/FreeImage/PluginJ2K.cpp Source/FreeImage/PluginJP2.cpp Source/FreeImage/J2KHelper.cpp \
            Source/FreeImage/PluginRAW.cpp Source/FreeImage/PluginWebP.cpp Source/FreeImage/PluginJXR.cpp \
            Source/Metadata/XTIFF.cpp
SRCS := $(sort $(patsubst $(FI)/%,%,$(wildcard $(FI)/Source/FreeImage/*.cpp $(FI)/Source/FreeImage/*.c \
          $(FI)/Source/Metadata/*.cpp $(FI)/Source/FreeImageToolkit/*.cpp)))
SRCS := $(filter-out $(LEFT_OUT),$(SRCS))
OBJS := $(addprefix obj/,$(addsuffix .o,$(basename $(SRCS)))) obj/cqv_stub_plugins.o

CPPFLAGS := -DNDEBUG -DFREEIMAGE_EXPORTS -DWINVER=0x0601 -D_WIN32_WINNT=0x0601 \
            -I$(FI)/Source -I$(FI)/Source/Metadata -I$(FI)/Source/FreeImageToolkit -I$(P)/include/libjpeg -I$(P)/include/libpng
CFLAGS   := -O2 -w
# FreeImage is C++98 code; the C++98 library headers also parse in a third of the time.
CXXFLAGS := -O2 -w -std=gnu++98
# -static: libgcc, libstdc++, winpthread and zlib are linked in, so the DLL needs no mingw
# runtime DLL. --no-insert-timestamp: the same sources give the same bytes.
LDFLAGS  := -shared -static -s -Wl,--no-insert-timestamp -Wl,--subsystem,windows
# i686: export FreeImage_Load, not the stdcall-decorated FreeImage_Load@12.
ifneq ($(filter i686%,$(T)),)
LDFLAGS  += -Wl,--kill-at
endif
LIBS     := $(P)/lib/libpng16.a $(P)/lib/libjpeg.a /usr/$(T)/lib/libz.a

CQVImage.dll: $(OBJS)
	$(CXX) $(LDFLAGS) -o $@ $(OBJS) $(LIBS) -Wl,--out-implib,libCQVImage.dll.a -Wl,--output-def,CQVImage.def

obj/%.o: $(FI)/%.cpp
	@mkdir -p $(@D)
	$(CXX) $(CPPFLAGS) $(CXXFLAGS) -c $< -o $@
obj/%.o: $(FI)/%.c
	@mkdir -p $(@D)
	$(CC) $(CPPFLAGS) $(CFLAGS) -c $< -o $@
obj/cqv_stub_plugins.o: $(STUBS)
	@mkdir -p $(@D)
	$(CXX) $(CPPFLAGS) -I$(FI)/Source/FreeImage $(CXXFLAGS) -c $< -o $@
