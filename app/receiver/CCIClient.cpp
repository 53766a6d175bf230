#include "receiver/CCIClient.h"

#include <string>

void CCIClient::OnSlotStatus(std::uint8_t slot, std::uint8_t status, void*) {
    if (listener_) listener_->OnSlotStatus(slot, status);
}

void CCIClient::OnCAStatus(std::uint8_t first, std::uint8_t type, std::uint8_t*) {
    if (listener_) listener_->OnCaStatus(first, type);
}

void CCIClient::OnDisplayString(char* message, std::uint16_t length) {
    Text(message, length, CiTextKind::String);
}
void CCIClient::OnDisplayMenu(char* message, std::uint16_t length) {
    Text(message, length, CiTextKind::Menu);
}
void CCIClient::OnDisplayList(char* message, std::uint16_t length) {
    Text(message, length, CiTextKind::List);
}

void CCIClient::OnSwitchOsdOff() {
    if (listener_) listener_->OnSwitchOff();
}

void CCIClient::OnInputRequest(int blind, std::uint8_t answerLength, std::uint32_t) {
    if (listener_) listener_->OnInputRequest(blind != 0, answerLength);
}

void CCIClient::Text(const char* message, std::uint16_t length, CiTextKind kind) {
    if (!listener_ || !message) return;
    std::string text(message, length);
    ConvertCharBuf(text, length);
    listener_->OnModuleText(std::span<const std::uint8_t>(
                                reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                            kind);
}
