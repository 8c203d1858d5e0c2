// A small HTTP server on the loopback address for the update check's tests: every request
// gets the same reply body (or a redirect to one place), or (silent) no answer at all.
#ifndef VELMORA_TEST_LOOPBACKHTTPSERVER_HPP
#define VELMORA_TEST_LOOPBACKHTTPSERVER_HPP

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LoopbackHttpServer {
public:
	// Listens on 127.0.0.1 at a free port and serves from a thread of its own.
	explicit LoopbackHttpServer(std::string body, bool silent = false);
	~LoopbackHttpServer();
	LoopbackHttpServer(const LoopbackHttpServer&) = delete;
	LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

	// "http://127.0.0.1:PORT".
	std::string Base() const;
	void SetBody(const std::string& body);
	// From now on a request for any other path and query than target ("/path?query") is
	// answered with a redirect to it; an empty target ends that.
	void RedirectTo(const std::string& target);
	// Request lines received so far ("GET /path?query HTTP/1.1").
	std::vector<std::string> Requests() const;

private:
	void Serve();
	void Answer(int client);

	int listener_ = -1;
	int port_ = 0;
	bool silent_;
	std::atomic<bool> stop_{false};
	mutable std::mutex mutex_;
	std::string body_;
	std::string redirect_;
	std::vector<std::string> requests_;
	std::vector<int> held_; // silent connections, closed at the end
	std::thread thread_;
};

} // namespace testsupport

#endif
