# A bounded soak of the peer link on loopback.
if(TARGET app_network)
    brevanto_bench(bench_peerlink SOURCES bench_peerlink.cpp LIBS app_network Qt6::Network)
endif()
