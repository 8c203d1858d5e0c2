#include "LoopbackHttpServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr int kPollMs = 20;

// Reads the request head (up to the empty line); its first line, or empty.
std::string ReadRequestLine(int client)
{
	std::string head;
	char buffer[1024];
	while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
		pollfd p{client, POLLIN, 0};
		if (::poll(&p, 1, 1000) <= 0) break;
		const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
		if (n <= 0) break;
		head.append(buffer, static_cast<std::size_t>(n));
	}
	return head.substr(0, head.find("\r\n"));
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(std::string body, bool silent) : silent_(silent), body_(std::move(body))
{
	listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
	sockaddr_in addr{};
	addr.sin_family = AF_INET;
	addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
	socklen_t len = sizeof addr;
	if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
		::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
		throw std::runtime_error("cannot listen on the loopback address");
	port_ = ntohs(addr.sin_port);
	thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
	stop_ = true;
	thread_.join();
	for (const int fd : held_) ::close(fd);
	::close(listener_);
}

std::string LoopbackHttpServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackHttpServer::SetBody(const std::string& body)
{
	const std::lock_guard<std::mutex> lock(mutex_);
	body_ = body;
}

void LoopbackHttpServer::RedirectTo(const std::string& target)
{
	const std::lock_guard<std::mutex> lock(mutex_);
	redirect_ = target;
}

std::vector<std::string> LoopbackHttpServer::Requests() const
{
	const std::lock_guard<std::mutex> lock(mutex_);
	return requests_;
}

void LoopbackHttpServer::Serve()
{
	while (!stop_) {
		pollfd p{listener_, POLLIN, 0};
		if (::poll(&p, 1, kPollMs) <= 0) continue;
		const int client = ::accept(listener_, nullptr, nullptr);
		if (client >= 0) Answer(client);
	}
}

void LoopbackHttpServer::Answer(int client)
{
	const std::string line = ReadRequestLine(client);
	std::string body, redirect;
	{
		const std::lock_guard<std::mutex> lock(mutex_);
		requests_.push_back(line);
		body = body_;
		redirect = redirect_;
	}
	if (silent_) {
		held_.push_back(client);
		return;
	}
	const std::size_t start = line.find(' ') + 1;
	const std::string target = line.substr(start, line.find(' ', start) - start);
	const std::string reply = !redirect.empty() && target != redirect
		? "HTTP/1.1 302 Found\r\nLocation: " + Base() + redirect + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"
		: "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
			"\r\nConnection: close\r\n\r\n" + body;
	for (std::size_t sent = 0; sent < reply.size();) {
		const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
		if (n <= 0) break;
		sent += static_cast<std::size_t>(n);
	}
	::close(client);
}

} // namespace testsupport
